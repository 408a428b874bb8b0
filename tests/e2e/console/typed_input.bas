' Reads what a person types at the console.
DIM name$, n AS INTEGER, word$, m AS INTEGER
LINE INPUT "Name? "; name$
INPUT "Number? "; n
INPUT "Word and number? "; word$, m
PRINT "Hello, "; name$; "! Twice "; n; " is "; n * 2; "; "; word$; " and "; m
