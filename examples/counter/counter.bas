' counter: a label and a button; each click on the button adds one to the
' number the label shows.
DIM Window AS FORM
DIM Shown AS LABEL
DIM More AS BUTTON
DIM count AS INTEGER

Window.Caption = "Counter"
Window.Width = 240: Window.Height = 120
Shown.Left = 10: Shown.Top = 10: Shown.Width = 100: Shown.Height = 20
Shown.Caption = "0"
More.Left = 120: More.Top = 10: More.Width = 90: More.Height = 20
More.Caption = "Add one"
More.OnCommand = AddOne
Window.Show

SUB AddOne
  count = count + 1
  Shown.Caption = STR$(count)
END SUB
