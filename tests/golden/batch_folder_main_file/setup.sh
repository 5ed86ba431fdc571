mkdir folder.pb
