; The contact list and its file.

Structure Contact
  Name.s
  Phone.s
EndStructure

Global NewList Contacts.Contact()

Procedure AddContact(Name.s, Phone.s)
  If Trim(Name) = ""
    ProcedureReturn
  EndIf
  AddElement(Contacts())
  Contacts()\Name = Trim(Name)
  Contacts()\Phone = FormatPhone(Phone)
EndProcedure

Procedure RemoveContact(Index.i)
  If Index >= 0 And SelectElement(Contacts(), Index)
    DeleteElement(Contacts())
  EndIf
EndProcedure

Procedure.i LoadContacts(FileName.s)
  Protected File.i, Line.s, Count.i
  File = ReadFile(#PB_Any, FileName, #PB_UTF8)
  If File = 0
    ProcedureReturn 0
  EndIf
  While Not Eof(File)
    Line = ReadString(File)
    If Left(Line, 1) <> ";" ; comment lines of the contacts file
      AddContact(TrimmedField(Line, 1), TrimmedField(Line, 2))
      Count + 1
    EndIf
  Wend
  CloseFile(File)
  ProcedureReturn Count
EndProcedure

Procedure.i SaveContacts(FileName.s)
  Protected File.i = CreateFile(#PB_Any, FileName, #PB_UTF8)
  If File = 0
    ProcedureReturn #False
  EndIf
  ForEach Contacts()
    WriteStringN(File, Contacts()\Name + #TAB$ + Contacts()\Phone)
  Next
  CloseFile(File)
  ProcedureReturn #True
EndProcedure
