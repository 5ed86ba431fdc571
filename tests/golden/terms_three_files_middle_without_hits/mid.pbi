LimitMax = 1
; Limit
s$ = "Limit"
