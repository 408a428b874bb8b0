' A library that keeps a text and a count from call to call: its STRING gets
' its block as the library is loaded.
OPTION LIBRARY

DIM Kept AS STRING
DIM Calls AS INTEGER

FUNCTION Keep(n AS INTEGER, more AS STRING) AS INTEGER EXPORT
  Kept = Kept + more
  Calls = Calls + 1
  Keep = LEN(Kept) * 100 + Calls * 10 + n
END FUNCTION
