' A program that does not ask for a dialog's keys: Tab and Enter reach the
' focused control as they always have.
DIM Form AS FORM                  ' 0
DIM First AS EDIT                 ' 1
DIM Second AS EDIT                ' 2
DIM Go AS BUTTON                  ' 3
DIM Report AS LABEL               ' 4
DIM keys AS INTEGER

Form.Caption = "No keys"
Form.Width = 400: Form.Height = 160
First.Left = 10: First.Top = 10: First.Width = 150: First.Height = 22
Second.Left = 10: Second.Top = 40: Second.Width = 150: Second.Height = 22
Go.Left = 180: Go.Top = 10: Go.Width = 90: Go.Height = 24: Go.Caption = "Go"
Report.Left = 10: Report.Top = 80: Report.Width = 380: Report.Height = 20
Go.OnCommand = GoClicked
First.OnKeyDown = KeyCounted
Form.Show
First.Focus

SUB GoClicked
  Report.Caption = "go"
END SUB

SUB KeyCounted
  keys = keys + 1
  Report.Caption = "key " + STR$(KeyCode) + " keys " + STR$(keys)
END SUB
