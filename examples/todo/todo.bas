' todo: a to-do list kept in todo.txt, one task to a line. Type a task and
' press Add (or Enter); pick a task and press Remove; double-click a task to
' take it back into the box and change it. Every change is saved at once.
OPTION TABSTOPS
DIM Window AS FORM
DIM Task AS EDIT
DIM AddButton AS BUTTON
DIM Tasks AS LISTBOX
DIM RemoveButton AS BUTTON
DIM Status AS LABEL

Window.Caption = "To do"
Window.Width = 360: Window.Height = 320
Task.Left = 10: Task.Top = 10: Task.Width = 240: Task.Height = 22
AddButton.Left = 260: AddButton.Top = 9: AddButton.Width = 80: AddButton.Height = 24
AddButton.Caption = "Add"
AddButton.Default = 1             ' Enter in the box adds the task
AddButton.Enabled = 0             ' until there is something to add
Tasks.Left = 10: Tasks.Top = 42: Tasks.Width = 240: Tasks.Height = 200
RemoveButton.Left = 260: RemoveButton.Top = 42: RemoveButton.Width = 80: RemoveButton.Height = 24
RemoveButton.Caption = "Remove"
RemoveButton.Enabled = 0          ' until a task is picked
Status.Left = 10: Status.Top = 250: Status.Width = 330: Status.Height = 20

Task.OnChange = TaskTyped
AddButton.OnCommand = AddTask
Tasks.OnChange = TaskPicked
Tasks.OnDoubleClick = ChangeTask
RemoveButton.OnCommand = RemoveTask

LoadTasks
ShowCount
Window.Show
Task.Focus

' The file's lines become the list's items; a missing file is an empty list.
SUB LoadTasks
  DIM text AS STRING, lineEnd AS INTEGER
  text = READFILE$("todo.txt")
  DO WHILE LEN(text) > 0
    lineEnd = INSTR(text, CHR$(13) + CHR$(10))
    IF lineEnd = 0 THEN lineEnd = LEN(text) + 1
    IF lineEnd > 1 THEN Tasks.AddItem LEFT$(text, lineEnd - 1)
    text = MID$(text, lineEnd + 2)
  LOOP
END SUB

SUB SaveTasks
  DIM text AS STRING, i AS INTEGER
  FOR i = 0 TO Tasks.ItemCount - 1
    text = text + Tasks.Item(i) + CHR$(13) + CHR$(10)
  NEXT
  SAVEFILE "todo.txt", text
  ShowCount
END SUB

SUB ShowCount
  IF Tasks.ItemCount = 1 THEN Status.Caption = "1 task" ELSE Status.Caption = STR$(Tasks.ItemCount) + " tasks"
END SUB

SUB TaskTyped
  AddButton.Enabled = LEN(TRIM$(Task.Text)) > 0
END SUB

SUB AddTask
  IF LEN(TRIM$(Task.Text)) = 0 THEN EXIT SUB
  Tasks.AddItem TRIM$(Task.Text)
  Task.Text = ""
  SaveTasks
  Task.Focus
END SUB

SUB TaskPicked
  RemoveButton.Enabled = Tasks.ItemIndex >= 0
END SUB

SUB RemoveTask
  IF Tasks.ItemIndex < 0 THEN EXIT SUB
  Tasks.RemoveItem Tasks.ItemIndex
  RemoveButton.Enabled = 0
  SaveTasks
END SUB

SUB ChangeTask
  IF Tasks.ItemIndex < 0 THEN EXIT SUB
  Task.Text = Tasks.Text
  Tasks.RemoveItem Tasks.ItemIndex
  RemoveButton.Enabled = 0
  SaveTasks
  Task.Focus
END SUB
