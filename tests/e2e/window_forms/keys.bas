' The keys of a dialog on a form, in a program that asks for them: Tab and
' Shift+Tab move the focus, Enter clicks the focused push button or else the
' default button; a text of many lines keeps Enter for its line breaks.
OPTION TABSTOPS
DIM Form AS FORM                  ' 0
DIM First AS EDIT                 ' 1
DIM Second AS EDIT                ' 2
DIM Notes AS MEMO                 ' 3
DIM Go AS BUTTON                  ' 4
DIM Other AS BUTTON               ' 5
DIM Report AS LABEL               ' 6
DIM goes AS INTEGER, keys AS INTEGER

Form.Caption = "Keys"
Form.Width = 420: Form.Height = 260
First.Left = 10: First.Top = 10: First.Width = 150: First.Height = 22
Second.Left = 10: Second.Top = 40: Second.Width = 150: Second.Height = 22
Notes.Left = 10: Notes.Top = 70: Notes.Width = 150: Notes.Height = 80
Go.Left = 180: Go.Top = 10: Go.Width = 90: Go.Height = 24: Go.Caption = "Go"
Other.Left = 180: Other.Top = 40: Other.Width = 90: Other.Height = 24: Other.Caption = "Other"
Report.Left = 10: Report.Top = 160: Report.Width = 400: Report.Height = 20
Go.Default = 1
Go.OnCommand = GoClicked
Other.OnCommand = OtherClicked
First.OnKeyDown = KeyCounted
Report.Caption = "default " + STR$(Go.Default) + " " + STR$(Other.Default)
Form.Show
First.Focus

SUB GoClicked
  goes = goes + 1
  Report.Caption = "go " + STR$(goes) + " [" + Second.Text + "]"
END SUB

SUB OtherClicked
  Report.Caption = "other"
END SUB

SUB KeyCounted
  keys = keys + 1
END SUB
