' 100,000 lines built with a number's text and a line end each.
DIM s AS STRING, i AS INTEGER, t AS DOUBLE
t = TIMER
FOR i = 1 TO 100000
  s = s + STR$(i) + CHR$(13) + CHR$(10)
NEXT
PRINT "lines "; TIMER - t; " "; LEN(s)
