Procedure A()
EndProcedure
