Procedure Open()
  Protected Count
  Count + 1