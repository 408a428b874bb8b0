' textview: a text box of many lines and three buttons. F1 shows the program's
' own source, F2 tintbox's, New empties the box; the form hands the keyboard
' focus on to the box whenever it gets it. Built with the earliest generation
' of the window library.
OPTION SIGNATURE 9232
OPTION GUI EARLIEST

' Sent straight to the window, the text leaves the box's record alone.
DECLARE SUB SendMessageA LIB "user32.dll" (window AS INTEGER, message AS INTEGER, wParam AS INTEGER, text AS STRING)
CONST SetFocusMessage = 7, SetTextMessage = 12

DIM Form AS FORM
Form.Caption = "Tessaric RichEdit test"
Form.Height = 330: Form.Width = 543
Form.OnMessage = HandOverFocus

DIM TextBox AS MEMO
TextBox.Left = 40: TextBox.Top = 3
TextBox.Height = Form.ClientHeight - 6
TextBox.Width = 490

DIM ButtonF1 AS BUTTON
ButtonF1.Left = 3: ButtonF1.Top = 3: ButtonF1.Height = 20: ButtonF1.Width = 30
ButtonF1.Caption = "F1"
ButtonF1.OnCommand = ShowOwnSource

DIM ButtonF2 AS BUTTON
ButtonF2.Left = 3: ButtonF2.Top = 25: ButtonF2.Height = 20: ButtonF2.Width = 30
ButtonF2.Caption = "F2"
ButtonF2.OnCommand = ShowTintboxSource

DIM ButtonNew AS BUTTON
ButtonNew.Left = 3: ButtonNew.Top = 47: ButtonNew.Height = 20: ButtonNew.Width = 30
ButtonNew.Caption = "New"
ButtonNew.OnCommand = EmptyTextBox

Form.Show

' Every message then has its default handling too.
SUB HandOverFocus
  IF EventMessage = SetFocusMessage THEN TextBox.Focus
END SUB

SUB ShowOwnSource
  TextBox.Caption = READFILE$("textview.bas")
END SUB

SUB ShowTintboxSource
  TextBox.Caption = READFILE$("tintbox.bas")
END SUB

' Only the window is emptied: the box's Caption is still the last text shown.
SUB EmptyTextBox
  SendMessageA TextBox.WindowHandle, SetTextMessage, 0, ""
END SUB
