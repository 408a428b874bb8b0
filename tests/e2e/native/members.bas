' Every property, method and event of the window library, and its built-ins,
' once each: the native back end must build this program, so that every
' routine and record of the runtime that native code names is there to link.
' It is built, not run.
OPTION TABSTOPS
DIM Form AS FORM
DIM Other AS FORM
DIM Go AS BUTTON
DIM Check AS CHECKBOX
DIM Radio AS RADIOBUTTON
DIM Combo AS COMBOBOX
DIM Edit1 AS EDIT
DIM Memo1 AS MEMO
DIM Rich AS RICHEDIT
DIM Note AS LABEL
DIM Pic AS PICTURE
DIM List AS LISTBOX
DIM Bar AS STATUSBAR
DIM Menu1 AS MENU
DIM Item1 AS MENUITEM
DIM Tick AS TIMER
DIM Paper AS BITMAP(32, 32, 24)
DIM n AS INTEGER, t AS STRING

Form.Left = 1: Form.Top = 2: Form.Width = 300: Form.Height = 200
Pic.Left = 1: Pic.Top = 2: Pic.Width = 30: Pic.Height = 20
n = Form.Left + Form.Top + Form.Width + Form.Height
Form.Caption = "Members": Note.Text = "note"
t = Form.Caption + Note.Text + List.Text
Note.BackColor = 1: Rich.BackColor = 2: Form.BackColor = 3
Note.TextColor = 4: Rich.TextColor = 5: n = Note.TextColor
Go.Style = Go.Style: Combo.Editable = 1: Go.Cursor = 32512
Pic.BitmapFile = "a.bmp": Go.BitmapFile = "a.bmp"
Go.Icon = 32512: Pic.Icon = 32512: Go.Bitmap = 32754: Pic.Bitmap = 32754
List.AddItem "a": Combo.AddItem "b"
List.ItemIndex = 0: Combo.ItemIndex = 0
n = List.ItemIndex + Combo.ItemIndex + List.ItemCount + Combo.ItemCount
t = List.Item(0) + Combo.Item(0)
List.RemoveItem 0: Combo.RemoveItem 0: List.Clear: Combo.Clear
Check.Checked = 1: Item1.Checked = 1: n = Check.Checked + Item1.Checked
Go.Enabled = 1: Item1.Enabled = 1: Tick.Enabled = 0: Tick.Interval = 100
n = Go.Enabled + Item1.Enabled + Tick.Enabled + Tick.Interval
Go.Visible = 1: n = Go.Visible: Go.Default = 1: n = Go.Default
Menu1.Caption = "&Menu": t = Menu1.Caption
Note.FontName = "Arial": Note.FontSize = 12: Note.FontBold = 1
t = Note.FontName: n = Note.FontSize + Note.FontBold
Rich.SelStart = 0: Rich.SelEnd = 1: n = Rich.CurrentLine
n = Form.ClientWidth + Form.ClientHeight
n = Go.WindowHandle + Go.ParentWindow + Go.ObjectIndex + Go.ExStyle + Go.Font
Form.StatusBarWindow = Form.StatusBarWindow: Go.MenuHandle = Go.MenuHandle
Go.Focus: Go.Refresh: Go.Move: Go.Hide: Other.Close: Go.Repaint
Form.OnCommand = Handler: Form.OnClose = Handler: Form.OnKeyDown = Handler
Form.OnKeyUp = Handler: Form.OnDoubleClick = Handler: Form.OnMouseDown = Handler
Form.OnMouseUp = Handler: Form.OnPaint = Handler: Form.OnResize = Handler
Form.OnShow = Handler: Form.OnMessage = Handler: Form.OnMouseMove = Handler
List.OnChange = Handler: Rich.OnChange = Handler: Item1.OnCommand = Handler
Tick.OnTimer = Handler
Paper.SourceX = 1: Paper.SourceY = 2: Paper.RasterOp = &HCC0020
n = Paper.Width + Paper.Height + Paper.Bits + Paper.SourceX + Paper.SourceY + Paper.RasterOp
Paper.DrawCircle 1, 2, 3, 4: Paper.FillCircle 1, 2, 3, 4: Paper.DrawBox 1, 2, 3, 4, 5
Paper.FloodFill 1, 2, 3, 4: Paper.DrawLine 1, 2, 3, 4, 5: Paper.SetPixel 1, 2, 3
Paper.FillBox 1, 2, 3, 4, 5: Paper.DrawText 1, 2, "x", 3: n = Paper.GetPixel(1, 2)
Form.CopyBitmap 1, 2, Paper: Form.DrawLine 1, 2, 3, 4, 5
n = Paper.TextWidth("x") + Form.TextHeight("x") + Note.TextWidth("x")
n = MSGBOX("text", 0, "caption"): MSGBOX "text"
t = INPUTBOX$("prompt") + OPENFILE$("*.txt") + SAVEFILE$("*.txt")
DOEVENTS
Other.ShowModal
Form.Show

SUB Handler
  n = EventWindow + EventMessage + EventWParam + EventLParam + EventCode
  n = MouseX + MouseY + MouseButton + KeyCode
END SUB
