IncludeFile "lib/a.pbi"
; IncludePath "nowhere/"
IncludeFile "b.pbi"
IncludePath "My Inc/" ; spaces inside the literal stay
IncludeFile "Same.pbi"
x = 1 : IncludePath "" : IncludeFile "c.pbi"
IncludeFile "same.pbi"
Procedure Main()
EndProcedure
