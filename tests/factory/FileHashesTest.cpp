#include "FactoryFixtures.h"

#include "factory/ProvisioningHashes.h"
#include "factory/Sha256.h"

#include <gtest/gtest.h>

using namespace orvane;

namespace {

// FIPS 180-4's examples and the NIST long message.
const std::vector<std::pair<std::string, std::string>> kVectors = {
    {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
    {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
    {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
     "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
    {std::string(1'000'000, 'a'),
     "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
};

} // namespace

// Pieces that end inside a block, on its edge and in the padding's room must
// give the digest of the whole; so must a message of 55, 56 and 64 bytes,
// where the padding takes one block or two.
TEST(FileHashes, Sha256GivesThePublishedDigestsWhateverThePieces)
{
    for (const auto &[message, digest] : kVectors) {
        EXPECT_EQ(sha256Hex(message), digest) << message.size() << " bytes";
        for (const size_t piece : {1u, 55u, 63u, 64u, 65u, 4096u}) {
            Sha256 hash;
            for (size_t at = 0; at < message.size(); at += piece)
                hash.update(std::string_view(message).substr(at, piece));
            EXPECT_EQ(hexText(hash.finish()), digest) << message.size() << " in " << piece;
        }
    }
    const std::string a64(64, 'a');
    EXPECT_EQ(sha256Hex(a64.substr(0, 55)),
              "9f4390f8d30c2dd92ec9f095b65e2b9ae9b0a925a5258e241c9f1e910f734318");
    EXPECT_EQ(sha256Hex(a64.substr(0, 56)),
              "b35439a4ac6f0948b6d6f9e3c6af0f5f590ce20f1bde7090ef7970686ec6738a");
    EXPECT_EQ(sha256Hex(a64), "ffe054fe7ae0cb6dc65c3af9b61d5209f439851db43d0ba5997337df154668eb");
    // Bytes above 127 count as bytes, not as signed characters.
    EXPECT_EQ(sha256Hex(std::string("\xff\x80\x00", 3)),
              "e9d359479a5afbc51ee48f63fd7c4c27b4067c80c39bb1c9604917d3a6a6c8d7");

    Sha256 reused;
    reused.update("abc");
    reused.finish();
    EXPECT_EQ(hexText(reused.finish()), kVectors[0].second) << "finish starts over";
}

TEST(FileHashes, MakeNewNamesEveryFileItSendsInOrderFromTheBytesRead)
{
    const std::vector<std::string> names = provisioningFileNames();
    ASSERT_EQ(names.size(), 13u);
    EXPECT_EQ(std::vector<std::string>(names.begin(), names.begin() + 4),
              (std::vector<std::string>{"CALCURVS.DAT",
                                        "NVMNMEAG.DAT",
                                        "DECPTSA.DAT",
                                        "CommandMode.COD"}));
    EXPECT_EQ(names.back(), "KeelOffsetEditor.COD");

    FileBytesByName read;
    for (const std::string &name : names)
        read[name] = test::fixture(name.ends_with(".COD") ? "modules/" + name : name);
    const auto hashes = provisioningFileHashes(read);
    ASSERT_TRUE(hashes) << hashes.error();
    ASSERT_EQ(hashes->size(), names.size());
    for (size_t i = 0; i < names.size(); ++i) {
        EXPECT_EQ((*hashes)[i].name, names[i]);
        EXPECT_EQ((*hashes)[i].sha256, sha256Hex(read[names[i]]));
    }
    // The register takes them as they are.
    UnitDetails details;
    details.files = *hashes;
    EXPECT_TRUE(checkDetails(details));

    read.erase("DECPTSA.DAT");
    const auto missing = provisioningFileHashes(read);
    ASSERT_FALSE(missing);
    EXPECT_TRUE(test::failsWith(missing.error(), "DECPTSA.DAT", "working folder"))
        << missing.error();
}
