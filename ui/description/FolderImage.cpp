#include "ui/description/FolderImage.h"

const ByteSetHeader* FolderImage() {
    return reinterpret_cast<const ByteSetHeader*>(kFolderImageBlock);
}
