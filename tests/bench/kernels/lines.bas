' 100,000 lines built with a number's text and a line end each, 20 times over.
DIM s AS STRING, i AS INTEGER, pass AS INTEGER, total AS INTEGER, t AS DOUBLE
t = TIMER
FOR pass = 1 TO 20
  s = ""
  FOR i = 1 TO 100000
    s = s + STR$(i) + CHR$(13) + CHR$(10)
  NEXT
  total = total + LEN(s)
NEXT
PRINT "lines "; TIMER - t; " "; total
