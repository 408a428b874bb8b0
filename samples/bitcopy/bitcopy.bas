' bitcopy: a picture drawn once into an off-screen bitmap before any window
' exists, and copied to the form at every paint.
OPTION SIGNATURE 1608
OPTION GUI MIDDLE

CONST White = &HFFFFFF, Green = &H00FF00

DIM Picture AS BITMAP(64, 64, 16)
Picture.DrawCircle 32, 32, 30, White
Picture.FloodFill 32, 32, Green, White

DIM Form AS FORM
Form.OnPaint = PaintForm
Form.Show

SUB PaintForm
  Form.CopyBitmap 10, 10, Picture
END SUB
