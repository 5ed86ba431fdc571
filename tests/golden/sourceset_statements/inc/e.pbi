Procedure E()
EndProcedure
