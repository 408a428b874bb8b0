' Two forms lower than 320 pixels, each with a status bar: the main form's is
' declared after the second form, with IN; the sizes are set after the bars.
OPTION SIGNATURE 4173
DIM Main AS FORM
Main.Caption = "Main form"
DIM Second AS FORM
Second.Caption = "Second form"
DIM MainBar AS STATUSBAR IN Main
MainBar.Caption = "main ready"
DIM SecondBar AS STATUSBAR
SecondBar.Caption = "second ready"
Main.Width = 300: Main.Height = 200
Second.Left = 500: Second.Width = 260: Second.Height = 150
Main.Show
Second.Show
