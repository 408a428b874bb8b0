' extmod: the module that modjoin links in, with two SUBs and a FUNCTION.

SUB ObjSub1
  PRINT "Hello From ObjSub1!"
  PRINT
END SUB

SUB ObjSub2(n AS INTEGER, text AS STRING)
  DIM i AS INTEGER
  PRINT "Hello From ObjSub2!  Using arguments to do something:"
  FOR i = 1 TO n
    PRINT text
  NEXT
END SUB

FUNCTION ObjFun1(a AS INTEGER, b AS INTEGER) AS INTEGER
  a = a + b
  PRINT "extmod.obj ObjFun1 says the sum is "; a
  ObjFun1 = a
END FUNCTION
