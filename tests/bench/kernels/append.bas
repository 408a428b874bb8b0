' A text grown one byte at a time to 1,000,000 bytes, 20 times over.
DIM s AS STRING, i AS INTEGER, pass AS INTEGER, total AS INTEGER, t AS DOUBLE
t = TIMER
FOR pass = 1 TO 20
  s = ""
  FOR i = 1 TO 1000000
    s = s + "x"
  NEXT
  total = total + LEN(s)
NEXT
PRINT "append "; TIMER - t; " "; total
