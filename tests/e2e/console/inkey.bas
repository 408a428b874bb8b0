' Reads keys as they come with INKEY$, which never waits: it says so once
' when it first finds none, then shows each key until q.
DIM k$, shown AS INTEGER
PRINT "args ["; COMMAND$; "] env ["; ENVIRON$("TESSARIC_E2E_PROBE"); "]"
DO
  k$ = INKEY$
  IF k$ = "" THEN
    IF shown = 0 THEN PRINT "nothing yet": shown = 1
    SLEEP 10
  ELSEIF LEN(k$) = 2 THEN
    PRINT "key code "; ASC(MID$(k$, 2))
  ELSE
    PRINT "character "; ASC(k$)
  END IF
LOOP UNTIL k$ = "q"
