IncludeFile "../dir/b.pbi"
Procedure A()
EndProcedure
