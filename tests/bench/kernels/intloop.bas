' The integer loop: an INTEGER sum of products taken MOD 7.
DIM i AS INTEGER, s AS INTEGER, t AS DOUBLE
t = TIMER
FOR i = 1 TO 50000000
  s = s + (i * i) MOD 7
NEXT
PRINT "intloop "; TIMER - t; " "; s
