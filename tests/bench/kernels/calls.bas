' An INTEGER FUNCTION of two arguments, called 50 million times.
DIM i AS INTEGER, s AS INTEGER, t AS DOUBLE
t = TIMER
FOR i = 1 TO 50000000
  s = Mix(i, s) + 1
NEXT
PRINT "calls "; TIMER - t; " "; s
FUNCTION Mix(a AS INTEGER, b AS INTEGER) AS INTEGER
  Mix = (a XOR b) AND 1023
END FUNCTION
