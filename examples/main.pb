; PB Zetrolin example: a small address book.
;
; Start PB Zetrolin on this file with the cursor on a procedure name, or press
; "All Proc-Calls": ShowAbout() is called above its definition without a
; Declare, and FormatPhoneInternational() is never called.

EnableExplicit

IncludePath "include/"
XIncludeFile "format.pbi"
XIncludeFile "storage.pbi"
XIncludeFile "gui.pbi"

#ContactsFile = "contacts.txt"

Declare.i HandleEvent(Event.i)

; Delete removes the selected contact (a GTK signal handler, hence ProcedureC).
ProcedureC.i OnListKeyPress(*Widget, *Event.GdkEventKey, *UserData)
  If *Event\keyval = $FFFF ; GDK_KEY_Delete
    RemoveContact(GetGadgetState(#Gadget_List))
    FillContactList()
    ProcedureReturn #True
  EndIf
  ProcedureReturn #False
EndProcedure

Procedure.i Main()
  Protected Quit.i
  Debug "LoadContacts() read " + Str(LoadContacts(#ContactsFile)) + " contacts"
  If Not OpenMainWindow(640, 400)
    MessageRequester("Adressbuch", "Das Fenster lässt sich nicht öffnen.")
    ProcedureReturn 1
  EndIf
  g_signal_connect_(GadgetID(#Gadget_List), "key-press-event", @OnListKeyPress(), 0)
  FillContactList()
  Repeat
    Quit = HandleEvent(WaitWindowEvent())
  Until Quit
  SaveContacts(#ContactsFile)
  ProcedureReturn 0
EndProcedure

Procedure.i HandleEvent(Event.i)
  Select Event
    Case #PB_Event_CloseWindow
      ProcedureReturn #True
    Case #PB_Event_Menu
      Select EventMenu()
        Case #Menu_About
          ShowAbout()
        Case #Menu_Quit
          ProcedureReturn #True
      EndSelect
    Case #PB_Event_Gadget
      Select EventGadget()
        Case #Gadget_Add
          AddContact(GetGadgetText(#Gadget_Name), GetGadgetText(#Gadget_Phone))
          FillContactList()
        Case #Gadget_Remove
          RemoveContact(GetGadgetState(#Gadget_List))
          FillContactList()
      EndSelect
    Case #PB_Event_SizeWindow
      ResizeMainWindow(WindowWidth(#Window_Main), WindowHeight(#Window_Main))
  EndSelect
  ProcedureReturn #False
EndProcedure

Procedure ShowAbout()
  MessageRequester("About", "Adressbuch 1.0" + #LF$ + "An example for PB Zetrolin.")
EndProcedure

End Main()
