' notes: keeps your notes in notes.txt, one to a line. It shows the notes
' written so far, then adds each line you type, until you type an empty one.
DIM notes AS FILE
DIM text AS STRING, added AS INTEGER

text = READFILE$("notes.txt")
IF LEN(text) = 0 THEN
  PRINT "No notes yet."
ELSE
  PRINT "Your notes so far:"
  PRINT text;
END IF

notes.Open "notes.txt", 2       ' to read and write
notes.Seek notes.Size           ' new notes go after the old ones
DO
  LINE INPUT "New note (just Enter to stop): "; text
  IF text = "" THEN EXIT DO
  notes.WriteLine text
  added = added + 1
LOOP
notes.Close
PRINT "Notes added: "; added
