' The state of controls and forms: checks read and written, a button made
' disabled and hidden, forms closed as by their close box, the width of a
' form's inside and a form's own background colour.
DIM Form AS FORM                  ' 0
DIM Check AS CHECKBOX             ' 1
DIM RadioA AS RADIOBUTTON         ' 2
DIM RadioB AS RADIOBUTTON         ' 3
DIM Target AS BUTTON              ' 4
DIM Toggle AS BUTTON              ' 5
DIM HideIt AS BUTTON              ' 6
DIM ShowIt AS BUTTON              ' 7
DIM SetChecks AS BUTTON           ' 8
DIM ReadChecks AS BUTTON          ' 9
DIM CloseSecond AS BUTTON         ' 10
DIM CloseMain AS BUTTON           ' 11
DIM Report AS LABEL               ' 12
DIM Second AS FORM                ' 13
DIM secondCloses AS INTEGER

Form.Caption = "State"
Form.Width = 480: Form.Height = 320
Form.BackColor = &H00FFFF
Check.Left = 10: Check.Top = 10: Check.Width = 100: Check.Height = 20: Check.Caption = "Check"
RadioA.Left = 10: RadioA.Top = 40: RadioA.Width = 100: RadioA.Height = 20: RadioA.Caption = "A"
RadioB.Left = 10: RadioB.Top = 70: RadioB.Width = 100: RadioB.Height = 20: RadioB.Caption = "B"
Target.Left = 130: Target.Top = 10: Target.Width = 90: Target.Height = 24: Target.Caption = "Target"
Toggle.Left = 130: Toggle.Top = 40: Toggle.Width = 90: Toggle.Height = 24: Toggle.Caption = "Toggle"
HideIt.Left = 130: HideIt.Top = 70: HideIt.Width = 90: HideIt.Height = 24: HideIt.Caption = "Hide"
ShowIt.Left = 130: ShowIt.Top = 100: ShowIt.Width = 90: ShowIt.Height = 24: ShowIt.Caption = "Show"
SetChecks.Left = 230: SetChecks.Top = 10: SetChecks.Width = 110: SetChecks.Height = 24: SetChecks.Caption = "Set checks"
ReadChecks.Left = 230: ReadChecks.Top = 40: ReadChecks.Width = 110: ReadChecks.Height = 24: ReadChecks.Caption = "Read checks"
CloseSecond.Left = 230: CloseSecond.Top = 70: CloseSecond.Width = 110: CloseSecond.Height = 24
CloseSecond.Caption = "Close second"
CloseMain.Left = 230: CloseMain.Top = 100: CloseMain.Width = 110: CloseMain.Height = 24: CloseMain.Caption = "Close main"
Report.Left = 10: Report.Top = 140: Report.Width = 460: Report.Height = 20
Second.Caption = "Second"
Second.Left = 520: Second.Width = 200: Second.Height = 120

Toggle.OnCommand = ToggleTarget
HideIt.OnCommand = HideTarget
ShowIt.OnCommand = ShowTarget
SetChecks.OnCommand = SetTheChecks
ReadChecks.OnCommand = ReadTheChecks
CloseSecond.OnCommand = CloseTheSecond
CloseMain.OnCommand = CloseTheMain
Second.OnClose = SecondClosing
Form.OnClose = MainClosing

Report.Caption = "client " + STR$(Form.ClientWidth) + " " + STR$(Form.ClientHeight) + " enabled " + STR$(Target.Enabled) + " visible " + STR$(Target.Visible) + " checked " + STR$(Check.Checked)
Form.Show
Second.Show

SUB ToggleTarget
  Target.Enabled = 1 - Target.Enabled
  Report.Caption = "enabled " + STR$(Target.Enabled)
END SUB

SUB HideTarget
  Target.Hide
  Report.Caption = "visible " + STR$(Target.Visible)
END SUB

SUB ShowTarget
  Target.Visible = 1
  Report.Caption = "visible " + STR$(Target.Visible)
END SUB

SUB SetTheChecks
  Check.Checked = 1
  RadioB.Checked = 1
  ReadTheChecks
END SUB

SUB ReadTheChecks
  Report.Caption = "checks " + STR$(Check.Checked) + " " + STR$(RadioA.Checked) + " " + STR$(RadioB.Checked)
END SUB

SUB CloseTheSecond
  Second.Close
  Report.Caption = "second closes " + STR$(secondCloses) + " visible " + STR$(Second.Visible)
END SUB

' The second form's close box, or its Close: it hides and counts.
SUB SecondClosing
  secondCloses = secondCloses + 1
  Second.Hide
END SUB

SUB CloseTheMain
  Form.Close
END SUB

SUB MainClosing
  Report.Caption = "closing"
  Form.OnClose = Nothing
  MSGBOX "Bye"
  END
END SUB

SUB Nothing
END SUB
