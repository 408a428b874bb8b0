' A text grown one byte at a time.
DIM s AS STRING, i AS INTEGER, t AS DOUBLE
t = TIMER
FOR i = 1 TO 1000000
  s = s + "x"
NEXT
PRINT "append "; TIMER - t; " "; LEN(s)
