Procedure InMainFolder()
EndProcedure
