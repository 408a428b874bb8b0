' circlet: a circle drawn on the form at every paint, and the measured extent
' of a text printed to a console that the program opens for itself.
OPTION SIGNATURE 2366

CONST Black = &H000000, Cyan = &HFFFF00

DIM Value AS INTEGER

OPEN CONSOLE
DIM Form AS FORM
Form.OnPaint = PaintForm
Form.Show

' Measured in the painting's own device context, in the font it starts with.
SUB PaintForm
  Form.DrawCircle 32, 32, 30, Black
  Form.FillCircle 32, 32, 30, Cyan
  Value = Form.TextWidth("tessaric idol")
  PRINT "tessaric width on form is "; Value
  Value = Form.TextHeight("tessaric idol")
  PRINT "tessaric height on form is "; Value
END SUB
