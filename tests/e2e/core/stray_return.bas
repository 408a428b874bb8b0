' A RETURN that no GOSUB reached ends the program.
GOSUB Twice
PRINT "before"
Twice:
  PRINT "twice"
  RETURN
