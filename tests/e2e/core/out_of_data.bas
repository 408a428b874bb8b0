' Reading past the last DATA item ends the program.
DIM a AS INTEGER, b AS INTEGER
READ a
PRINT "before"; a
READ b
PRINT "never"
DATA 1
