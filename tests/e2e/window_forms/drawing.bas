' Drawing: a bitmap drawn with the new methods and copied at every paint,
' text written in the paint, drawing on the form from a button (outside
' OnPaint), reading a pixel back, and Repaint.
CONST Red = &H0000FF, Green = &H00FF00, Blue = &HFF0000, White = &HFFFFFF

DIM Pad AS BITMAP(40, 40, 32)
DIM Form AS FORM                  ' 0
DIM DrawNow AS BUTTON             ' 1
DIM RepaintIt AS BUTTON           ' 2
DIM Report AS LABEL               ' 3
DIM Paints AS LABEL               ' 4
DIM paintCount AS INTEGER

Pad.FillBox 0, 0, 40, 40, Green
Pad.DrawLine 0, 0, 39, 39, Red
Pad.SetPixel 39, 0, Blue

Form.Caption = "Drawing"
Form.Width = 400: Form.Height = 260
Form.BackColor = White
DrawNow.Left = 10: DrawNow.Top = 150: DrawNow.Width = 100: DrawNow.Height = 24: DrawNow.Caption = "Draw now"
RepaintIt.Left = 120: RepaintIt.Top = 150: RepaintIt.Width = 100: RepaintIt.Height = 24: RepaintIt.Caption = "Repaint"
Report.Left = 10: Report.Top = 180: Report.Width = 380: Report.Height = 20
Paints.Left = 10: Paints.Top = 205: Paints.Width = 380: Paints.Height = 20
Report.Caption = "pad " + STR$(Pad.GetPixel(39, 0)) + " " + STR$(Pad.GetPixel(0, 0)) + " " + STR$(Pad.GetPixel(20, 10)) + " " + STR$(Pad.GetPixel(40, 0))
Form.OnPaint = PaintForm
DrawNow.OnCommand = DrawOnTheForm
RepaintIt.OnCommand = RepaintTheForm
Form.Show

SUB PaintForm
  paintCount = paintCount + 1
  Form.CopyBitmap 10, 10, Pad
  Form.DrawText 60, 10, "Text", Blue
  Paints.Caption = "paints " + STR$(paintCount)
END SUB

' Shown at once, and gone at the next paint.
SUB DrawOnTheForm
  Form.FillBox 200, 10, 240, 50, Red
  Form.DrawLine 200, 60, 239, 60, Blue
  Form.SetPixel 250, 10, Green
  Report.Caption = "drawn " + STR$(Form.GetPixel(200, 10)) + " " + STR$(Form.GetPixel(239, 60)) + " " + STR$(Form.GetPixel(250, 10))
END SUB

SUB RepaintTheForm
  Form.Repaint
END SUB
