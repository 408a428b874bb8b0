' An index outside an array's bounds ends the program.
DIM t(3) AS INTEGER, i AS INTEGER
i = 4
PRINT "before"
t(i) = 1
PRINT "never"
