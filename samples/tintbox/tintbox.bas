' tintbox: five kinds of control, all red on white, and the program's own
' source in a rich edit. It has no handlers: the main code builds everything,
' then the program waits until its form is closed.
OPTION SIGNATURE 8868
OPTION GUI LATEST, NOSCROLL       ' built before selections learned to scroll
OPTION RESOURCES "tintbox.rc"     ' the list box's cursor, W_CUR

CONST White = &HFFFFFF, Red = &HFF
CONST FlatButton = &H8000
CONST HandCursor = 32649          ' the system's hand

DIM Form AS FORM
Form.Width = 336

DIM Label AS LABEL
Label.Left = 10: Label.Top = 10: Label.Width = 100: Label.Height = 20
Label.BackColor = White
Label.TextColor = Red
Label.Caption = "I am RED"
Label.Cursor = HandCursor         ' a cursor belongs to the class: every label shows it

DIM TextBox AS EDIT
TextBox.Left = 10: TextBox.Top = 40: TextBox.Width = 100: TextBox.Height = 20
TextBox.BackColor = White
TextBox.TextColor = Red
TextBox.Caption = "I am RED"

DIM Button AS BUTTON
Button.Style = Button.Style OR FlatButton
Button.Left = 10: Button.Top = 70: Button.Width = 100: Button.Height = 20
Button.BackColor = White
Button.TextColor = Red
Button.Caption = "I am RED"

DIM RichBox AS RICHEDIT
RichBox.Left = 120: RichBox.Top = 10: RichBox.Width = 200: RichBox.Height = 80
RichBox.BackColor = White
RichBox.Caption = READFILE$("tintbox.bas")
RichBox.TextColor = Red
RichBox.SelStart = 0              ' start and end at 0: the caret at the start
RichBox.SelEnd = 0

DIM List AS LISTBOX
List.Left = 120: List.Top = 100: List.Width = 200: List.Height = 80
List.BackColor = White
List.TextColor = Red
List.AddItem "red"
List.AddItem "more red"
List.AddItem "still red"
List.ItemIndex = 0
List.Cursor = "w_cur"             ' from the program's resources: every list box shows it

Form.Show
DOEVENTS
Form.Show
