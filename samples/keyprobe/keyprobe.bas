' keyprobe: a combo box with an edit field on a form, and one key handler on
' both that names every key-down it receives in a message box, with the last
' notification code, then gives the focus back to the combo box.
OPTION SIGNATURE 4569

CONST SystemModal = &H1000

DIM Form AS FORM
Form.OnKeyDown = KeyDown

DIM Combo AS COMBOBOX
Combo.Editable = 1        ' the window is made again, with the same identifier
Combo.Left = 10: Combo.Top = 10: Combo.Width = 80: Combo.Height = 20
Combo.AddItem "abc"
Combo.AddItem "def"
Combo.AddItem "ghi"
Combo.ItemIndex = 0
Combo.Focus
Combo.OnKeyDown = KeyDown

Form.Show

' A key leaves EventCode alone: it still holds the code of the last
' notification, as a rule the combo box's gaining the focus.
SUB KeyDown
  MSGBOX "vKey " + USTR$(EventWParam) + " nCode " + USTR$(EventCode), SystemModal
  Combo.Focus
END SUB
