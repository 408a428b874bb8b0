' Two forms. The main form asks before it closes; the second has no OnClose
' of its own, and a button on the main form shows it again.
OPTION SIGNATURE 4171
DIM Main AS FORM
Main.Caption = "Main form"
Main.Width = 300: Main.Height = 160
DIM Again AS BUTTON
Again.Left = 10: Again.Top = 10: Again.Width = 160: Again.Height = 30
Again.Caption = "Show the second form"
Again.OnCommand = ShowSecond
Main.OnClose = AskFirst

DIM Second AS FORM
Second.Caption = "Second form"
Second.Left = 500: Second.Width = 240: Second.Height = 120

Main.Show
Second.Show

SUB ShowSecond
  Second.Show
END SUB

SUB AskFirst
  MSGBOX "Save changes?"
  END
END SUB
