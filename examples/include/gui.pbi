; The main window.

Enumeration Windows
  #Window_Main
EndEnumeration

Enumeration Gadgets
  #Gadget_List
  #Gadget_Name
  #Gadget_Phone
  #Gadget_Add
  #Gadget_Remove
EndEnumeration

Enumeration Menus
  #Menu_About
  #Menu_Quit
EndEnumeration

; Keeps the list filling the window and the input line at its bottom.
Procedure ResizeMainWindow(Width.i, Height.i)
  Protected Bottom.i = Height - MenuHeight() - 35
  ResizeGadget(#Gadget_List, 10, 10, Width - 20, Bottom - 20)
  ResizeGadget(#Gadget_Name, 10, Bottom, 200, 25)
  ResizeGadget(#Gadget_Phone, 220, Bottom, 150, 25)
  ResizeGadget(#Gadget_Add, 380, Bottom, 100, 25)
  ResizeGadget(#Gadget_Remove, 490, Bottom, 100, 25)
EndProcedure

Procedure.i OpenMainWindow(Width.i, Height.i)
  Protected Flags.i = #PB_Window_SystemMenu | #PB_Window_SizeGadget | #PB_Window_ScreenCentered
  If OpenWindow(#Window_Main, 0, 0, Width, Height, "Adressbuch", Flags) = 0
    ProcedureReturn #False
  EndIf
  If CreateMenu(0, WindowID(#Window_Main))
    MenuTitle("Help")
    MenuItem(#Menu_About, "About...")
    MenuBar()
    MenuItem(#Menu_Quit, "Quit")
  EndIf
  ListIconGadget(#Gadget_List, 10, 10, 0, 0, "Name", 250, #PB_ListIcon_FullRowSelect)
  AddGadgetColumn(#Gadget_List, 1, "Phone", 200)
  StringGadget(#Gadget_Name, 0, 0, 200, 25, "")
  StringGadget(#Gadget_Phone, 0, 0, 150, 25, "")
  ButtonGadget(#Gadget_Add, 0, 0, 100, 25, "Add")
  ButtonGadget(#Gadget_Remove, 0, 0, 100, 25, "Remove")
  ResizeMainWindow(Width, Height)
  ProcedureReturn #True
EndProcedure

Procedure FillContactList()
  ClearGadgetItems(#Gadget_List)
  ForEach Contacts()
    AddGadgetItem(#Gadget_List, -1, FormatContact(Contacts()\Name, Contacts()\Phone))
  Next
EndProcedure
