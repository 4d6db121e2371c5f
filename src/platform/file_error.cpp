#include "platform/file_error.h"

#include <cerrno>

#ifdef _WIN32
#include <windows.h>
#endif

namespace valmerin {

FileError FileErrorFromErrno(int number) {
  switch (number) {
    case 0:
      return FileError::None;
    case ENOENT:
    case ENOTDIR:
      return FileError::Missing;
    case EACCES:
    case EPERM:
    case EROFS:
      return FileError::Permission;
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
    case EFBIG:
      return FileError::DiskFull;
#ifdef ETXTBSY
    case ETXTBSY:
      return FileError::InUse;
#endif
    case EISDIR:
#ifdef ELOOP
    case ELOOP:
#endif
#ifdef ENXIO
    case ENXIO:
#endif
      return FileError::NotRegular;
    default:
      return FileError::Other;
  }
}

#ifdef _WIN32
FileError FileErrorFromWindows(unsigned long code) {
  switch (code) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
      return FileError::Missing;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      return FileError::InUse;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
      return FileError::Permission;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return FileError::DiskFull;
    case ERROR_REQUEST_ABORTED:
      return FileError::Cancelled;
    default:
      return FileError::Other;
  }
}
#endif

std::string_view DescribeFileError(FileError error) {
  switch (error) {
    case FileError::None:
      return "nessun errore";
    case FileError::Missing:
      return "il file o la cartella non esiste";
    case FileError::NotRegular:
      return "non è un file normale (è una cartella, un collegamento o un file speciale)";
    case FileError::Permission:
      return "permesso negato";
    case FileError::DiskFull:
      return "il disco è pieno";
    case FileError::InUse:
      return "il file è in uso da un altro programma (forse un emulatore ancora aperto)";
    case FileError::ReadOnly:
      return "il file è di sola lettura";
    case FileError::Unreadable:
      return "il file non si può leggere";
    case FileError::Cancelled:
      return "operazione annullata";
    case FileError::LinkOutside:
      return "è un collegamento a un file fuori dalla sua cartella, e Valmerin non scrive "
             "attraverso collegamenti simili (eliminarlo o metterci il file vero)";
    case FileError::Other:
      break;
  }
  return "errore di lettura o scrittura";
}

}  // namespace valmerin
