' stopwatch: Start counts the time in tenths of a second, Stop holds it,
' Start again goes on from there, and Reset goes back to nought.
DIM Window AS FORM
DIM Shown AS LABEL
DIM StartButton AS BUTTON
DIM StopButton AS BUTTON
DIM ResetButton AS BUTTON
DIM Tick AS TIMER
DIM started AS DOUBLE             ' TIMER when the count last started
DIM held AS DOUBLE                ' the seconds counted before that
DIM running AS INTEGER

Window.Caption = "Stopwatch"
Window.Width = 300: Window.Height = 160
Shown.Left = 10: Shown.Top = 10: Shown.Width = 270: Shown.Height = 50
Shown.FontSize = 28
Shown.FontBold = 1
StartButton.Left = 10: StartButton.Top = 75: StartButton.Width = 80: StartButton.Height = 26
StartButton.Caption = "Start"
StopButton.Left = 100: StopButton.Top = 75: StopButton.Width = 80: StopButton.Height = 26
StopButton.Caption = "Stop"
StopButton.Enabled = 0
ResetButton.Left = 190: ResetButton.Top = 75: ResetButton.Width = 80: ResetButton.Height = 26
ResetButton.Caption = "Reset"

Tick.Interval = 100               ' ten times a second while it runs
Tick.OnTimer = ShowTime
StartButton.OnCommand = StartCounting
StopButton.OnCommand = StopCounting
ResetButton.OnCommand = ResetCount
ShowTime
Window.Show

' The seconds counted so far. TIMER starts again from 0 at midnight.
FUNCTION Elapsed() AS DOUBLE
  DIM now AS DOUBLE
  Elapsed = held
  IF running THEN
    now = TIMER
    IF now < started THEN now = now + 86400
    Elapsed = held + now - started
  END IF
END FUNCTION

' As minutes, seconds and tenths: 1:05.3
SUB ShowTime
  DIM tenths AS INTEGER, seconds AS INTEGER
  tenths = INT(Elapsed() * 10)
  seconds = tenths \ 10
  Shown.Caption = STR$(seconds \ 60) + ":" + RIGHT$("0" + STR$(seconds MOD 60), 2) + "." + STR$(tenths MOD 10)
END SUB

SUB StartCounting
  started = TIMER
  running = 1
  Tick.Enabled = 1
  StartButton.Enabled = 0
  StopButton.Enabled = 1
END SUB

SUB StopCounting
  held = Elapsed()
  running = 0
  Tick.Enabled = 0
  ShowTime
  StartButton.Enabled = 1
  StopButton.Enabled = 0
END SUB

SUB ResetCount
  held = 0
  started = TIMER
  ShowTime
END SUB
