#pragma once
// Past a file-size limit (ulimit -f) the system kills a writing process with SIGXFSZ unless it
// is ignored; ignored, the write fails with EFBIG, which the recording meets like a full disk
// and the saves of the table and settings report like any failed write.
void ignore_file_size_signal();
