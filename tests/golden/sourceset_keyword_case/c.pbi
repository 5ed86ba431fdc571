Procedure C()
EndProcedure
