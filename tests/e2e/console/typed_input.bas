' Reads what a person types at the console.
DIM name$, n AS INTEGER
LINE INPUT "Name? "; name$
INPUT "Number? "; n
PRINT "Hello, "; name$; "! Twice "; n; " is "; n * 2
