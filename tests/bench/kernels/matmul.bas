' Two 150 by 150 matrices of DOUBLEs multiplied, 20 times over.
CONST n = 150
DIM a(n, n) AS DOUBLE, b(n, n) AS DOUBLE, c(n, n) AS DOUBLE
DIM i AS INTEGER, j AS INTEGER, k AS INTEGER, sum AS DOUBLE, t AS DOUBLE
FOR i = 0 TO n: FOR j = 0 TO n: a(i, j) = i + j: b(i, j) = i - j: NEXT: NEXT
DIM pass AS INTEGER
t = TIMER
FOR pass = 1 TO 20
  FOR i = 0 TO n
    FOR j = 0 TO n
      sum = 0
      FOR k = 0 TO n: sum = sum + a(i, k) * b(k, j): NEXT
      c(i, j) = sum
    NEXT
  NEXT
NEXT
sum = 0
FOR i = 0 TO n: FOR j = 0 TO n: sum = sum + c(i, j): NEXT: NEXT
PRINT "matmul "; TIMER - t; " "; sum
