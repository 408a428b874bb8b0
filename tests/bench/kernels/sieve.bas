' The sieve of Eratosthenes on an INTEGER array, ten times over.
DIM flags(2000000) AS INTEGER, i AS INTEGER, j AS INTEGER, count AS INTEGER, pass AS INTEGER, t AS DOUBLE
t = TIMER
FOR pass = 1 TO 10
  count = 0
  FOR i = 2 TO 2000000: flags(i) = 1: NEXT
  FOR i = 2 TO 2000000
    IF flags(i) THEN
      count = count + 1
      FOR j = i + i TO 2000000 STEP i: flags(j) = 0: NEXT
    END IF
  NEXT
NEXT
PRINT "sieve "; TIMER - t; " "; count
