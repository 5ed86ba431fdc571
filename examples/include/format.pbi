; Text helpers of the address book.

; Fields are separated by TABs in the contacts file.
Procedure.s TrimmedField(Text.s, Index.i)
  ProcedureReturn Trim(StringField(Text, Index, #TAB$))
EndProcedure

Procedure.s FormatPhone(Phone.s)
  ProcedureReturn ReplaceString(Trim(Phone), " ", "")
EndProcedure

; Not used yet: "All Proc-Calls" shows it with a count of 0.
Procedure.s FormatPhoneInternational(Phone.s, CountryCode.s = "+49")
  Protected Number.s = FormatPhone(Phone)
  If Left(Number, 1) = "0"
    Number = CountryCode + Mid(Number, 2)
  EndIf
  ProcedureReturn Number
EndProcedure

; One row of the ListIconGadget: columns are separated by line feeds.
Procedure.s FormatContact(Name.s, Phone.s)
  ProcedureReturn Name + #LF$ + FormatPhone(Phone)
EndProcedure
