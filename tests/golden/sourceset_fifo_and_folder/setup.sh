mkfifo fifo.pbi
mkdir folder.pbi
