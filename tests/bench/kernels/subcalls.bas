' A SUB of two arguments, called 50 million times.
DIM i AS INTEGER, s AS INTEGER, t AS DOUBLE
t = TIMER
FOR i = 1 TO 50000000
  Step2 i, 3
NEXT
PRINT "subcalls "; TIMER - t; " "; s
SUB Step2(a AS INTEGER, b AS INTEGER)
  s = (s + a * b) AND 65535
END SUB
