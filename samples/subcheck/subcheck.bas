' subcheck: SUBs and FUNCTIONs of the program itself, with string and
' integer arguments and results; one line for every check that holds.
' (Una fecha is a date, una Prov a supplier.)
OPTION SIGNATURE 3437

DIM A AS STRING, B AS STRING, T AS STRING
DIM V AS INTEGER

T = "una fecha"
A = T
B = Fecha()
IF T = B THEN PRINT "Fecha FUNCTION worked"
Avance
IF "Avance" = T THEN PRINT "Avance SUB worked"
CorrigeCompra 100
IF V = 100 THEN PRINT "CorrigeCompra SUB worked"
T = "una Prov"
V = HayProv(T)
IF V = LEN(T) THEN PRINT "HayProv FUNCTION worked"

FUNCTION Fecha() AS STRING
  Fecha = A
END FUNCTION

SUB Avance
  T = "Avance"
END SUB

SUB CorrigeCompra(amount AS INTEGER)
  V = amount
END SUB

FUNCTION HayProv(text AS STRING) AS INTEGER
  DIM L AS STRING
  L = text
  HayProv = LEN(L)
END FUNCTION
