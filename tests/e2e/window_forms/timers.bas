' Timers: one that counts while it runs, started and stopped by buttons, and
' one whose handler shows a message box at every tick, so that ticks come
' while the handler still runs.
DIM Form AS FORM                  ' 0
DIM Ticks AS LABEL                ' 1
DIM StartIt AS BUTTON             ' 2
DIM StopIt AS BUTTON              ' 3
DIM Boxes AS BUTTON               ' 4
DIM Counter AS TIMER
DIM Boxer AS TIMER
DIM count AS INTEGER, boxCount AS INTEGER

Form.Caption = "Timers"
Form.Width = 360: Form.Height = 160
Ticks.Left = 10: Ticks.Top = 10: Ticks.Width = 330: Ticks.Height = 20
StartIt.Left = 10: StartIt.Top = 40: StartIt.Width = 100: StartIt.Height = 24: StartIt.Caption = "Start"
StopIt.Left = 120: StopIt.Top = 40: StopIt.Width = 100: StopIt.Height = 24: StopIt.Caption = "Stop"
Boxes.Left = 230: Boxes.Top = 40: Boxes.Width = 100: Boxes.Height = 24: Boxes.Caption = "Boxes"
Counter.Interval = 30
Counter.OnTimer = CountTick
Boxer.Interval = 20
Boxer.OnTimer = ShowBox
StartIt.OnCommand = StartCounting
StopIt.OnCommand = StopCounting
Boxes.OnCommand = StartBoxes
Ticks.Caption = "ticks 0 enabled " + STR$(Counter.Enabled) + " interval " + STR$(Counter.Interval)
Form.Show

SUB CountTick
  count = count + 1
  Ticks.Caption = "ticks " + STR$(count) + " message " + STR$(EventMessage)
END SUB

SUB StartCounting
  Counter.Enabled = 1
END SUB

SUB StopCounting
  Counter.Enabled = 0
  Ticks.Caption = "stopped at " + STR$(count) + " enabled " + STR$(Counter.Enabled)
END SUB

SUB StartBoxes
  Boxer.Enabled = 1
END SUB

SUB ShowBox
  boxCount = boxCount + 1
  MSGBOX "tick " + STR$(boxCount)
  IF boxCount = 2 THEN Boxer.Enabled = 0
END SUB
