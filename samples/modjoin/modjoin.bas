' modjoin: a main program that calls the routines of extmod, a module
' compiled apart, like its own.
OPTION SIGNATURE 4834

DIM S AS STRING
DIM R AS INTEGER

S = "Tessaric .OBJ Module Link Tests"
TITLE S
PRINT S
PRINT
ObjSub1
S = "I will write this five times."
ObjSub2 5, S
PRINT
R = ObjFun1(10, 20)
PRINT "modjoin.bas Main Program gets 10 + 20 = "; R
