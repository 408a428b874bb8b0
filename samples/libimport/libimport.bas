' libimport: calls demolib through the import table. The loader binds the
' three routines before the program starts; without demolib.dll it does not start.
OPTION SIGNATURE 5642

DECLARE SUB HelloFromDll LIB "demolib.dll"
DECLARE SUB ArgsToDll LIB "demolib.dll" (first AS INTEGER, second AS INTEGER, third AS INTEGER)
DECLARE FUNCTION ValueFromDll LIB "demolib.dll" () AS INTEGER

DIM Title AS STRING
DIM First AS INTEGER, Second AS INTEGER, Third AS INTEGER
DIM Value AS INTEGER

Title = "Tessaric .LIB Link and Call Tests"
TITLE Title
PRINT Title
PRINT "A message box should now appear from demolib.lib"
HelloFromDll
PRINT "Now we send three arguments (5, 10, 20) to demolib.lib"
First = 5
Second = 10
Third = 20
ArgsToDll First, Second, Third
Value = ValueFromDll()
PRINT "The return value of ValueFromDll in demolib.lib is "; Value
