' drawpad: draw with the mouse, holding the left button down. The Colour
' menu picks the pen; File, Clear starts a new page. The drawing is kept in
' a bitmap, which the window shows at every paint.
CONST White = &HFFFFFF, Black = &H000000, Red = &H0000FF, Green = &H00A000, Blue = &HFF0000
CONST PaperWidth = 400, PaperHeight = 300

DIM Paper AS BITMAP(400, 300, 24)
DIM Window AS FORM
DIM FileMenu AS MENU
DIM ClearItem AS MENUITEM
DIM Line1 AS MENUITEM
DIM QuitItem AS MENUITEM
DIM ColourMenu AS MENU
DIM BlackItem AS MENUITEM
DIM RedItem AS MENUITEM
DIM GreenItem AS MENUITEM
DIM BlueItem AS MENUITEM
DIM pen AS INTEGER, lastX AS INTEGER, lastY AS INTEGER

Window.Caption = "Drawing pad"
FileMenu.Caption = "&File"
ClearItem.Caption = "&Clear"
Line1.Caption = "-"
QuitItem.Caption = "&Quit"
ColourMenu.Caption = "&Colour"
BlackItem.Caption = "&Black"
RedItem.Caption = "&Red"
GreenItem.Caption = "&Green"
BlueItem.Caption = "B&lue"
' The form's inside just as large as the paper, below its menu bar.
Window.Width = Window.Width + PaperWidth - Window.ClientWidth
Window.Height = Window.Height + PaperHeight - Window.ClientHeight

ClearItem.OnCommand = ClearPage
QuitItem.OnCommand = Quit
BlackItem.OnCommand = PickBlack
RedItem.OnCommand = PickRed
GreenItem.OnCommand = PickGreen
BlueItem.OnCommand = PickBlue
Window.OnPaint = ShowPaper
Window.OnMouseDown = PenDown
Window.OnMouseMove = PenMoves

ClearPage
Paper.DrawText 10, 10, "Draw here with the mouse", &H808080
PickBlack
Window.Show

SUB ShowPaper
  Window.CopyBitmap 0, 0, Paper
END SUB

SUB ClearPage
  Paper.FillBox 0, 0, PaperWidth, PaperHeight, White
  Window.Repaint
END SUB

SUB PenDown
  IF MouseButton <> 1 THEN EXIT SUB
  lastX = MouseX: lastY = MouseY
  Paper.SetPixel lastX, lastY, pen
  Window.Repaint
END SUB

' While the left button is held, a line from where the pen was.
SUB PenMoves
  IF MouseButton <> 1 THEN EXIT SUB
  Paper.DrawLine lastX, lastY, MouseX, MouseY, pen
  lastX = MouseX: lastY = MouseY
  Window.Repaint
END SUB

' The menu shows the pen's colour with a check.
SUB UsePen(colour AS INTEGER)
  pen = colour
  BlackItem.Checked = colour = Black
  RedItem.Checked = colour = Red
  GreenItem.Checked = colour = Green
  BlueItem.Checked = colour = Blue
END SUB

SUB PickBlack
  UsePen Black
END SUB

SUB PickRed
  UsePen Red
END SUB

SUB PickGreen
  UsePen Green
END SUB

SUB PickBlue
  UsePen Blue
END SUB

SUB Quit
  Window.Close
END SUB
