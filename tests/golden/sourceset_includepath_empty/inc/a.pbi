Procedure InIncFolder()
EndProcedure
