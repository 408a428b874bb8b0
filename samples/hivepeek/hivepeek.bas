' hivepeek: reads the first value of a key when one is open, reports the
' result code and closes the registry object. Nothing opens a key first, so a
' run only says so; the registry is never touched.
OPTION SIGNATURE 4144

DIM Hive AS REGISTRY   ' under HKEY_CURRENT_USER

IF Hive.KeyHandle <> 0 THEN
  PRINT Hive.ReadString("Control Panel\Appearance\Schemes")
  PRINT "readstring .error "; Hive.Error
ELSE
  PRINT "No key open to .readstring"
END IF
Hive.Close
