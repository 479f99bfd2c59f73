// The stored form of a string list: its lines as a list of strings.
#include "classlib/core/filer.h"
#include "classlib/core/scopes.h"
#include "classlib/core/strings.h"

void TStrings::DefineProperties(TFiler* filer) {
    filer->DefineProperty(
        "Strings",
        [this](TReader* reader) {
            TUpdateScope update(*this);
            Clear();
            reader->ReadListBegin();
            while (!reader->EndOfList()) Add(reader->ReadString());
            reader->ReadListEnd();
        },
        [this](TWriter* writer) {
            writer->WriteListBegin();
            for (int i = 0; i < Count(); ++i) writer->WriteString(Strings(i));
            writer->WriteListEnd();
        },
        Count() > 0);
}
