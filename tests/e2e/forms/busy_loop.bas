' A handler that loops on DOEVENTS for ever: the first button starts it; the
' second, which the loop lets run, posts the quit message with code 7.
OPTION SIGNATURE 4172
DECLARE SUB PostQuitMessage LIB "user32.dll" (code AS INTEGER)
DIM Form AS FORM
Form.Caption = "Busy loop"
Form.Width = 320: Form.Height = 160
DIM Start AS BUTTON
Start.Left = 10: Start.Top = 10: Start.Width = 120: Start.Height = 30
Start.Caption = "Start"
Start.OnCommand = Spin
DIM Quit AS BUTTON
Quit.Left = 150: Quit.Top = 10: Quit.Width = 120: Quit.Height = 30
Quit.Caption = "Quit with 7"
Quit.OnCommand = QuitSeven
DIM State AS LABEL
State.Left = 10: State.Top = 60: State.Width = 200: State.Height = 20
State.Caption = "waiting"
Form.Show

SUB Spin
  State.Caption = "looping"
  DO
    DOEVENTS
  LOOP
END SUB

SUB QuitSeven
  PostQuitMessage 7
END SUB
