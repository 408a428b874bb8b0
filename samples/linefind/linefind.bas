' linefind: the program's own source in a rich edit, one character selected
' at a fixed position, and a message box that names the line it lies on.
OPTION SIGNATURE 1622

CONST White = &HFFFFFF, Red = &HFF
CONST SystemModal = &H1000

DIM Form AS FORM
Form.Width = 336

DIM RichBox AS RICHEDIT
RichBox.Left = 120: RichBox.Top = 10: RichBox.Width = 200: RichBox.Height = 80
RichBox.BackColor = White
RichBox.Caption = READFILE$("linefind.bas")
RichBox.TextColor = Red

' One character, at 153, scrolled into view.
RichBox.SelStart = 153
RichBox.SelEnd = 154

' Shown before the form: the main code waits until it is closed.
MSGBOX STR$(RichBox.CurrentLine), SystemModal

Form.Show
