' A recursion with no end runs out of stack: the program ends through the
' fatal box, never a crash.
PRINT "before"
PRINT Deeper(1)
FUNCTION Deeper(n AS INTEGER) AS INTEGER
  DIM note AS STRING
  note = "call " + STR$(n)
  Deeper = Deeper(n + 1) + LEN(note)
END FUNCTION
