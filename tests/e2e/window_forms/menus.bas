' Menus on the bar of a form: items picked run their OnCommand, a checked
' item, a disabled one, a separator and a menu inside a menu.
DIM Form AS FORM                  ' 0
DIM FileMenu AS MENU              ' 1
DIM OpenItem AS MENUITEM          ' 2
DIM Line1 AS MENUITEM             ' 3
DIM QuitItem AS MENUITEM          ' 4
DIM ViewMenu AS MENU              ' 5
DIM GridItem AS MENUITEM          ' 6
DIM LockedItem AS MENUITEM        ' 7
DIM MoreMenu AS MENU IN ViewMenu  ' 8
DIM DeepItem AS MENUITEM          ' 9
DIM Report AS LABEL IN Form       ' 10
DIM opened AS INTEGER, lockedRuns AS INTEGER

Form.Caption = "Menus"
Form.Width = 400: Form.Height = 200
FileMenu.Caption = "&File"
OpenItem.Caption = "&Open"
Line1.Caption = "-"
QuitItem.Caption = "&Quit"
ViewMenu.Caption = "&View"
GridItem.Caption = "&Grid"
LockedItem.Caption = "&Locked"
LockedItem.Enabled = 0
MoreMenu.Caption = "&More"
DeepItem.Caption = "&Deep"
Report.Left = 10: Report.Top = 10: Report.Width = 370: Report.Height = 20
OpenItem.OnCommand = OpenPicked
QuitItem.OnCommand = QuitPicked
GridItem.OnCommand = GridPicked
LockedItem.OnCommand = LockedPicked
DeepItem.OnCommand = DeepPicked
Report.Caption = "[" + FileMenu.Caption + "] [" + OpenItem.Caption + "] [" + Line1.Caption + "] grid " + STR$(GridItem.Checked) + " locked " + STR$(LockedItem.Enabled) + " open " + STR$(OpenItem.Enabled)
Form.Show

SUB OpenPicked
  opened = opened + 1
  Report.Caption = "open " + STR$(opened) + " code " + STR$(EventCode) + " locked " + STR$(lockedRuns)
END SUB

SUB GridPicked
  GridItem.Checked = 1 - GridItem.Checked
  Report.Caption = "grid " + STR$(GridItem.Checked)
END SUB

SUB LockedPicked
  lockedRuns = lockedRuns + 1
END SUB

SUB DeepPicked
  Report.Caption = "deep"
END SUB

SUB QuitPicked
  Form.Close
END SUB
