// A stored class word past the class table (512 or more) is a damaged stream:
// the load raises the table's out-of-bound error and keeps what it read
// before, while a word within the table that names no class is reported and
// ends the load quietly.
#include "kernel/drawing/QVCmp2D.h"
#include "kernel/entities/TPunto2D.h"
#include "kernel/entities/TSourceBlock2D.h"
#include "kernel/model/BinaryReader.h"
#include "kernel/model/BinaryWriter.h"

#include "DrawingTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using namespace calvoro;
using namespace calvoro::test;

namespace {

class ClassWord : public DrawingTest {};

// The bytes with the count at `countAt` raised by one and one more entry of
// that class word, followed by room for a record.
std::string WithEntry(std::string bytes, std::size_t countAt, std::uint16_t word) {
    std::int32_t count = 0;
    std::memcpy(&count, bytes.data() + countAt, 4);
    BinaryWriter patched;
    patched.writeBytes(bytes);
    patched.patchInt32(countAt, count + 1);
    patched.writeUInt16(word);
    patched.writeBytes(std::string(100, '\0'));
    return patched.takeBytes();
}

// What loading the bytes did: the error raised, what the drawing holds and
// the messages shown.
std::string Outcome(bool library, const std::string& bytes) {
    TQVCmp2D loaded;
    std::string outcome;
    loaded.SetMessageHandler([&](const std::string& message) { outcome += "message " + message + "; "; });
    BinaryReader reader(bytes);
    try {
        if (library) {
            loaded.LoadLibrary(reader);
        } else {
            loaded.LoadObjectsFromStream(reader, LibraryVersion);
        }
    } catch (const ECADOutOfBound& e) {
        outcome += std::string("raised ") + e.what() + "; ";
    }
    EXPECT_FALSE(loaded.HasIterators());
    return outcome + std::to_string(loaded.SourceBlockCount()) + " blocks, " + std::to_string(loaded.ObjectCount()) +
           " objects";
}

TEST_F(ClassWord, PastTheTableRaisesWithinItIsReported) {
    TQVCmp2D drawing;
    auto block = std::make_unique<TSourceBlock2D>(-1, MakeBlockName("Kept"));
    block->SetFromLibrary(true);
    drawing.AddSourceBlock(-1, std::move(block));
    drawing.AddObject(-1, std::make_unique<TPunto2D>(-1, MakePoint2D(1, 2)));
    BinaryWriter library, objects;
    drawing.SaveLibrary(library);
    drawing.SaveObjectsToStream(objects);
    const std::size_t libraryCount = 7;  // after the version tag and the kind byte

    const std::string outOfBound = "raised CADCoreRegisterClass: Out of bound registration index; ";
    const std::string notFound = "message Object class not found. Object not load; ";
    struct Case {
        bool library;
        std::uint16_t word;
        std::string outcome;
    };
    const Case cases[] = {
        {true, 512, outOfBound + "1 blocks, 0 objects"},
        {true, 0xFFFF, outOfBound + "1 blocks, 0 objects"},
        {true, 300, notFound + "1 blocks, 0 objects"},
        {false, 512, outOfBound + "0 blocks, 1 objects"},
        {false, 0xFFFE, outOfBound + "0 blocks, 1 objects"},
        {false, 300, notFound + "0 blocks, 1 objects"},
        {false, 0xFFFF, "0 blocks, 1 objects"},  // the end mark of an object stream
    };
    for (const Case& c : cases) {
        const std::string bytes =
            c.library ? WithEntry(library.bytes(), libraryCount, c.word) : WithEntry(objects.bytes(), 0, c.word);
        EXPECT_EQ(Outcome(c.library, bytes), c.outcome) << (c.library ? "library " : "objects ") << c.word;
    }
}

}  // namespace
