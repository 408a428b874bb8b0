' demolib: the sample library. A greeting box, a box that lists three
' arguments, and a FUNCTION that gives 10. Its boxes are captioned with its
' program name.
OPTION LIBRARY
OPTION SIGNATURE 9577

CONST NewLine = CHR$(13) + CHR$(10)
CONST SystemModal = &H1000

SUB HelloFromDll EXPORT
  MSGBOX "Hello From Tessaric DLL!", SystemModal
END SUB

SUB ArgsToDll(first AS INTEGER, second AS INTEGER, third AS INTEGER) EXPORT
  DIM Message AS STRING
  Message = "Tessaric DLL Argument Test" + NewLine + "arg1 = " + STR$(first) + NewLine + _
            "arg2 = " + STR$(second) + NewLine + "arg3 = " + STR$(third) + NewLine
  MSGBOX Message, SystemModal
END SUB

FUNCTION ValueFromDll() AS INTEGER EXPORT
  ValueFromDll = 10
END FUNCTION
