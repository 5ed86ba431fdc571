XIncludeFile "lib.pbi"
Procedure Main()
	Helper(1)
  	 Helper (2) ; twice
EndProcedure
Main()
