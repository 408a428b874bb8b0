' A property write makes its value first, then acts on its object: a value
' whose making acts on another object leaves the write on its own.
DIM Form AS FORM                  ' 0
DIM Moved AS LABEL                ' 1
DIM Other AS LABEL                ' 2

Form.Caption = "Order"
Other.Left = 10: Other.Top = 40: Other.Width = 100: Other.Height = 20
Moved.Top = 10: Moved.Width = 100: Moved.Height = 20
Moved.Left = LeftAfterNamingOther()
Form.Show

FUNCTION LeftAfterNamingOther() AS INTEGER
  Other.Caption = "named"
  LeftAfterNamingOther = 150
END FUNCTION
