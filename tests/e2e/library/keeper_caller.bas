' Calls keeper.dll twice: what it kept shows in what it gives.
DECLARE FUNCTION Keep LIB "keeper.dll" (n AS INTEGER, more AS STRING) AS INTEGER

PRINT Keep(1, "ab")
PRINT Keep(2, "cde")
