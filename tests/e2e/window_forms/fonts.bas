' Fonts: a label given a face, a size in points and bold, read back, its text
' measured in that font; a form that writes in the system font until it is
' given one of its own.
DIM Form AS FORM                  ' 0
DIM Title AS LABEL                ' 1
DIM Report AS LABEL               ' 2
DIM Measures AS LABEL             ' 3
DIM Bigger AS BUTTON              ' 4
DIM FormFont AS BUTTON            ' 5
DIM small AS INTEGER

Form.Caption = "Fonts"
Form.Width = 460: Form.Height = 260
Title.Left = 10: Title.Top = 10: Title.Width = 440: Title.Height = 60
Title.Caption = "Wide"
Report.Left = 10: Report.Top = 80: Report.Width = 440: Report.Height = 20
Measures.Left = 10: Measures.Top = 105: Measures.Width = 440: Measures.Height = 20
Bigger.Left = 10: Bigger.Top = 140: Bigger.Width = 100: Bigger.Height = 24: Bigger.Caption = "Bigger"
FormFont.Left = 120: FormFont.Top = 140: FormFont.Width = 100: FormFont.Height = 24: FormFont.Caption = "Form font"
Bigger.OnCommand = MakeBigger
FormFont.OnCommand = GiveTheFormAFont

Title.FontName = "Tahoma"
Title.FontSize = 12
small = Title.TextWidth("Wide")
Report.Caption = "form [" + Form.FontName + "] label [" + Title.FontName + "] " + STR$(Title.FontSize) + " bold " + STR$(Title.FontBold)
Measures.Caption = "measured " + STR$(small)
Form.Show

SUB MakeBigger
  Title.FontSize = 36
  Title.FontBold = 1
  Report.Caption = "label [" + Title.FontName + "] " + STR$(Title.FontSize) + " bold " + STR$(Title.FontBold)
  IF Title.TextWidth("Wide") > 2 * small THEN Measures.Caption = "wider" ELSE Measures.Caption = "not wider"
END SUB

SUB GiveTheFormAFont
  DIM before AS INTEGER
  before = Form.TextWidth("Wide")
  Form.FontSize = 30
  IF Form.TextWidth("Wide") > before THEN Measures.Caption = "form wider" ELSE Measures.Caption = "form not wider"
  Report.Caption = "form " + STR$(Form.FontSize) + " bold " + STR$(Form.FontBold)
END SUB
