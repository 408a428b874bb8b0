' Print zones and TAB on a real console, where the columns are the cursor's:
' after LOCATE, past the last column, and TAB beyond the width.
DIM p AS INTEGER
CLS
LOCATE 3, 20: PRINT "ab", "c"
LOCATE 5, 30: PRINT TAB(10); "t"
LOCATE 8, 298: PRINT "x", "y"
LOCATE 11, 1: PRINT TAB(305); "w"
LOCATE 13, 5: PRINT "abc";: p = POS: PRINT , p
LOCATE 20, 1
