' picshow: one bitmap file shown twice, in a picture and on a button face.
' Without the file both controls stay blank and the program runs on.
OPTION SIGNATURE 3575

DIM Form AS FORM
Form.Width = 200

DIM Picture AS PICTURE
Picture.Left = 10: Picture.Top = 10: Picture.Width = 80: Picture.Height = 80
Picture.BitmapFile = "d:\vel\tessaric.bmp"

DIM Button AS BUTTON
Button.Left = 100: Button.Top = 10: Button.Width = 80: Button.Height = 80
Button.BitmapFile = "d:\vel\tessaric.bmp"

Form.Show
