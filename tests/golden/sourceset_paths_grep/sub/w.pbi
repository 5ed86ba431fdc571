Procedure W()
EndProcedure
