' floatcatch: a floating-point handler that prints the running test's
' description, a division by zero and the square root of a negative number.
' The handler empties the FPU stack, so each store that follows finds nothing
' to store and leaves flags that make the next check fire: three calls in all.
OPTION SIGNATURE 6386

DIM Message AS STRING
DIM Result AS DOUBLE

Message = "Tessaric Compiler floatcatchor Test "
PRINT Message
ON FLOAT ERROR CALL ReportFpuError

Message = "divide by zero"
Result = 3 / 0

Message = "sqr of negative number"
Result = SQR(-1)

PRINT "Done"

SUB ReportFpuError
  PRINT Message
END SUB
