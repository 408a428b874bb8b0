' libbind: calls demolib bound while it runs: one LoadLibraryA and one
' GetProcAddress for each routine, ending through a fatal error when either fails.
OPTION SIGNATURE 5267

DECLARE DYNAMIC SUB HelloFromDll LIB "demolib.dll"
DECLARE DYNAMIC SUB ArgsToDll LIB "demolib.dll" (first AS INTEGER, second AS INTEGER, third AS INTEGER)
DECLARE DYNAMIC FUNCTION ValueFromDll LIB "demolib.dll" () AS INTEGER

DIM Title AS STRING
DIM First AS INTEGER, Second AS INTEGER, Third AS INTEGER
DIM Value AS INTEGER

Title = "Tessaric .DLL Module Call Tests"
TITLE Title
PRINT Title
PRINT "A message box should now appear from demolib.dll"
HelloFromDll
PRINT "Now we send three arguments (5, 10, 20) to demolib.dll"
First = 5
Second = 10
Third = 20
ArgsToDll First, Second, Third
Value = ValueFromDll()
PRINT "The return value of ValueFromDll in demolib.dll is "; Value
