' Dialogs: the input box, the file dialogs and a form shown modally, each
' from a button; the report tells what the program got, and that its
' current folder is the one it started in (the marker file is read there).
DIM Form AS FORM                  ' 0
DIM Ask AS BUTTON                 ' 1
DIM OpenIt AS BUTTON              ' 2
DIM SaveIt AS BUTTON              ' 3
DIM Modal AS BUTTON               ' 4
DIM Report AS LABEL               ' 5
DIM Second AS FORM                ' 6
DIM Done AS BUTTON                ' 7
DIM answer AS STRING

Form.Caption = "Dialogs"
Form.Width = 460: Form.Height = 200
Ask.Left = 10: Ask.Top = 10: Ask.Width = 100: Ask.Height = 24: Ask.Caption = "Ask"
OpenIt.Left = 120: OpenIt.Top = 10: OpenIt.Width = 100: OpenIt.Height = 24: OpenIt.Caption = "Open"
SaveIt.Left = 230: SaveIt.Top = 10: SaveIt.Width = 100: SaveIt.Height = 24: SaveIt.Caption = "Save"
Modal.Left = 340: Modal.Top = 10: Modal.Width = 100: Modal.Height = 24: Modal.Caption = "Modal"
Report.Left = 10: Report.Top = 50: Report.Width = 440: Report.Height = 40
Second.Caption = "Modal form"
Second.Width = 240: Second.Height = 120
Done.Left = 10: Done.Top = 10: Done.Width = 100: Done.Height = 24: Done.Caption = "Done"
Ask.OnCommand = AskName
OpenIt.OnCommand = OpenAFile
SaveIt.OnCommand = SaveAFile
Modal.OnCommand = ShowTheModal
Done.OnCommand = HideTheModal
Report.Caption = "ready"
Form.Show

SUB AskName
  answer = INPUTBOX$("Your name?", "Asking", "nobody")
  Report.Caption = "[" + answer + "] " + READFILE$("marker.txt")
END SUB

SUB OpenAFile
  answer = OPENFILE$("Text files|*.txt|All files|*.*")
  Report.Caption = "[" + answer + "] " + READFILE$("marker.txt")
END SUB

SUB SaveAFile
  answer = SAVEFILE$("Text files|*.txt")
  Report.Caption = "[" + answer + "] " + READFILE$("marker.txt")
END SUB

SUB ShowTheModal
  Report.Caption = "modal"
  Second.ShowModal
  Report.Caption = "after modal"
END SUB

SUB HideTheModal
  Second.Hide
END SUB
