' Lists read back: a list box and a combo box whose changes report what they
' read, buttons that remove the selected item, clear the list and select an
' item from the program, and an edit whose changes count.
DIM Form AS FORM                  ' 0
DIM Fruit AS LISTBOX              ' 1
DIM Sizes AS COMBOBOX             ' 2
DIM Report AS LABEL               ' 3
DIM RemoveIt AS BUTTON            ' 4
DIM ClearIt AS BUTTON             ' 5
DIM SelectLast AS BUTTON          ' 6
DIM Entry AS EDIT                 ' 7
DIM Counts AS LABEL               ' 8
DIM fruitChanges AS INTEGER, sizeChanges AS INTEGER, entryChanges AS INTEGER
DIM entryCommands AS INTEGER, doubleClicks AS INTEGER

Form.Caption = "Lists"
Form.Width = 460: Form.Height = 300
Fruit.Left = 10: Fruit.Top = 10: Fruit.Width = 120: Fruit.Height = 100
Fruit.AddItem "apple": Fruit.AddItem "banana": Fruit.AddItem "cherry"
Sizes.Left = 140: Sizes.Top = 10: Sizes.Width = 100: Sizes.Height = 120
Sizes.AddItem "small": Sizes.AddItem "large": Sizes.AddItem "medium"
Report.Left = 10: Report.Top = 120: Report.Width = 440: Report.Height = 20
Counts.Left = 10: Counts.Top = 145: Counts.Width = 440: Counts.Height = 20
RemoveIt.Left = 250: RemoveIt.Top = 10: RemoveIt.Width = 90: RemoveIt.Height = 24: RemoveIt.Caption = "Remove"
ClearIt.Left = 250: ClearIt.Top = 40: ClearIt.Width = 90: ClearIt.Height = 24: ClearIt.Caption = "Clear"
SelectLast.Left = 350: SelectLast.Top = 10: SelectLast.Width = 90: SelectLast.Height = 24
SelectLast.Caption = "Select last"
Entry.Left = 250: Entry.Top = 80: Entry.Width = 190: Entry.Height = 22

Fruit.OnChange = FruitChanged
Fruit.OnDoubleClick = FruitDoubleClicked
Sizes.OnChange = SizeChanged
Entry.OnChange = EntryChanged
Entry.OnCommand = EntryCommand
RemoveIt.OnCommand = RemoveSelected
ClearIt.OnCommand = ClearFruit
SelectLast.OnCommand = SelectLastFruit

Report.Caption = "start " + FruitState() + " item2 [" + Fruit.Item(2) + "] item5 [" + Fruit.Item(5) + "] sizes " + STR$(Sizes.ItemIndex) + " first [" + Sizes.Item(0) + "] of " + STR$(Sizes.ItemCount)
ShowCounts
Form.Show

FUNCTION FruitState() AS STRING
  FruitState = STR$(Fruit.ItemIndex) + " [" + Fruit.Text + "] " + STR$(Fruit.ItemCount)
END FUNCTION

SUB ShowCounts
  Counts.Caption = "fruit " + STR$(fruitChanges) + " sizes " + STR$(sizeChanges) + " entry " + STR$(entryChanges) + " commands " + STR$(entryCommands) + " doubles " + STR$(doubleClicks)
END SUB

SUB FruitChanged
  fruitChanges = fruitChanges + 1
  Report.Caption = "fruit " + FruitState() + " [" + Fruit.Item(Fruit.ItemIndex) + "]"
  ShowCounts
END SUB

SUB FruitDoubleClicked
  doubleClicks = doubleClicks + 1
  ShowCounts
END SUB

SUB SizeChanged
  sizeChanges = sizeChanges + 1
  Report.Caption = "sizes " + STR$(Sizes.ItemIndex) + " [" + Sizes.Text + "] [" + Sizes.Item(Sizes.ItemIndex) + "]"
  ShowCounts
END SUB

SUB EntryChanged
  entryChanges = entryChanges + 1
  Report.Caption = "entry [" + Entry.Text + "]"
  ShowCounts
END SUB

' An edit's change is a notification like any other: OnCommand hears it too.
SUB EntryCommand
  IF EventCode = 768 THEN entryCommands = entryCommands + 1
  ShowCounts
END SUB

SUB RemoveSelected
  Fruit.RemoveItem Fruit.ItemIndex
  Report.Caption = "removed " + FruitState()
END SUB

SUB ClearFruit
  Fruit.Clear
  Report.Caption = "cleared " + FruitState()
END SUB

SUB SelectLastFruit
  Fruit.ItemIndex = Fruit.ItemCount - 1
  Report.Caption = "selected " + FruitState()
  ShowCounts
END SUB
