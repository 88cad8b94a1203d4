#include "platform/errors.h"

namespace zepo {

std::string errorText(int number) {
  switch (number) {
    case kErrBadCall:
      return "Chiamata di routine o argomento non validi";
    case kErrOverflow:
      return "Overflow";
    case kErrOutOfMemory:
      return "Memoria esaurita";
    case kErrInternal:
      return "Errore interno";
    case kErrBadFileNameOrNumber:
      return "Nome o numero di file non valido";
    case kErrFileNotFound:
      return "Impossibile trovare il file";
    case kErrBadFileMode:
      return "Modalità file non valida";
    case kErrFileAlreadyOpen:
      return "File già aperto";
    case kErrFileAlreadyExists:
      return "File già esistente";
    case kErrDiskFull:
      return "Disco pieno";
    case kErrInputPastEnd:
      return "Input oltre la fine del file";
    case kErrDeviceUnavailable:
      return "Periferica non disponibile";
    case kErrPermissionDenied:
      return "Autorizzazione negata";
    case kErrPathFileAccess:
      return "Errore di accesso al percorso/file";
    case kErrPathNotFound:
      return "Impossibile trovare il percorso";
    default:
      return "Errore definito dall'applicazione o dall'oggetto";
  }
}

std::string runtimeErrorPrompt(const RuntimeError& error) {
  return "Errore di run-time '" + std::to_string(error.number()) + "':\r\n\r\n" + error.what();
}

}  // namespace zepo
