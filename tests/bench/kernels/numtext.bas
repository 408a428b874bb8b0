' Number text: a million halves written out.
DIM i AS INTEGER, total AS INTEGER, t AS DOUBLE
t = TIMER
FOR i = 1 TO 1000000
  total = total + LEN(STR$(i * 0.5))
NEXT
PRINT "numtext "; TIMER - t; " "; total
