' squarefill: a black square outline filled with red at every paint.
OPTION SIGNATURE 1040
OPTION GUI MIDDLE

CONST Black = &H000000, Red = &H0000FF

DIM Form AS FORM
Form.OnPaint = PaintForm
Form.Show

' A repaint that leaves (12, 12) outside its region redraws the outline only.
SUB PaintForm
  Form.DrawBox 10, 10, 100, 100, Black
  Form.FloodFill 12, 12, Red, Black
END SUB
