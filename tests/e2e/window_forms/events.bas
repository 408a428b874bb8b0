' The values of events without Windows' numbers: where the mouse is and
' which button, on the form and on a control; which key; the new size of the
' form's inside in OnResize.
DIM Form AS FORM                  ' 0
DIM Pad AS LABEL                  ' 1
DIM Report AS LABEL               ' 2
DIM Moves AS LABEL                ' 3

Form.Caption = "Events"
Form.Width = 400: Form.Height = 300
Pad.Left = 200: Pad.Top = 100: Pad.Width = 150: Pad.Height = 100
Pad.BackColor = &HC0C0C0
Report.Left = 10: Report.Top = 230: Report.Width = 380: Report.Height = 20
Moves.Left = 10: Moves.Top = 205: Moves.Width = 380: Moves.Height = 20
Form.OnMouseDown = FormDown
Form.OnMouseUp = FormUp
Form.OnMouseMove = FormMove
Form.OnKeyDown = KeyDown
Form.OnResize = Resized
Pad.OnMouseDown = PadDown
Report.Caption = "ready"
Form.Show

SUB FormDown
  ' A click on the pad reaches the main form first: that one is told apart
  ' by the message, as the pad's own handler follows.
  IF EventMessage = 528 THEN EXIT SUB
  Report.Caption = "down " + STR$(MouseX) + " " + STR$(MouseY) + " " + STR$(MouseButton) + " key " + STR$(KeyCode)
END SUB

SUB FormUp
  Report.Caption = "up " + STR$(MouseX) + " " + STR$(MouseY) + " " + STR$(MouseButton)
END SUB

SUB FormMove
  IF MouseButton <> 0 THEN Moves.Caption = "drag " + STR$(MouseX) + " " + STR$(MouseY) + " " + STR$(MouseButton)
END SUB

SUB PadDown
  Report.Caption = "pad " + STR$(MouseX) + " " + STR$(MouseY) + " " + STR$(MouseButton)
END SUB

SUB KeyDown
  Report.Caption = "key " + STR$(KeyCode) + " mouse " + STR$(MouseX) + " " + STR$(MouseButton)
END SUB

SUB Resized
  Report.Caption = "size " + STR$(Form.ClientWidth) + " " + STR$(Form.ClientHeight)
END SUB
