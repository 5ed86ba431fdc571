; IncludeFile "x.pbi"
  ;IncludeFile "x.pbi"
	; XIncludeFile "x.pbi"
x = 1 ; IncludeFile "x.pbi"
IncludeFile "a.pbi" ; the helpers
;Procedure Commented()
Procedure Main() ; starts here
EndProcedure
