IncludeFile "fifo.pbi"
IncludeFile "folder.pbi"
IncludeFile "/dev/zero"
IncludeFile "b.pbi"
Procedure Main()
EndProcedure
