package corvelle.tests;

import static org.junit.jupiter.api.Assertions.assertArrayEquals;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertNotSame;
import static org.junit.jupiter.api.Assertions.assertNull;

import corvelle.Velmora;
import corvelle.testing.Standin;
import java.util.List;
import org.junit.jupiter.api.BeforeEach;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.ValueSource;

/**
 * Image fields as pixels, through the platform layer's bitmaps. Under -Xcheck:jni the VM hands out
 * copies from GetPrimitiveArrayCritical, so every value seen here went through a mode-0 release.
 */
class ImageFieldTest {
    static final int RGB = 0x00FFFFFF;

    @BeforeEach
    void reset() {
        Standin.reset();
    }

    /** Bits 24-31 belong to no colour; only the 24 colour bits are compared. */
    static int[] rgb(int[] pixels) {
        int[] out = pixels.clone();
        for (int i = 0; i < out.length; i++) out[i] &= RGB;
        return out;
    }

    @ParameterizedTest(name = "stored at {0} bits per pixel")
    @ValueSource(ints = {24, 32})
    void rowsFromTheTopEachFromTheLeft(int bitsPerPixel) {
        int[] image = {
            0x112233, 0x445566, 0x778899, // top row, left to right
            0xAABBCC, 0xDDEEFF, 0x102030, // bottom row
        };
        Standin.steerBitmap(3, 2, bitsPerPixel, image);
        int[] dimensions = new int[2];
        int[] pixels = Velmora.CreateHBITMAPfromRecordBinaryField(dimensions, 1, 1);
        assertArrayEquals(new int[] {3, 2}, dimensions);
        assertArrayEquals(image, rgb(pixels));
    }

    @Test
    void pureRedAndPureBlue() {
        Standin.steerBitmap(2, 1, 24, new int[] {0xFF0000, 0x0000FF});
        int[] pixels = Velmora.CreateHBITMAPfromRecordBinaryField(new int[2], 1, 1);
        assertEquals(0x00FF0000, pixels[0] & RGB, "red in bits 16-23 alone");
        assertEquals(0x000000FF, pixels[1] & RGB, "blue in bits 0-7 alone");
    }

    @Test
    void elementsAfterTheFirstTwoKeepTheirValues() {
        Standin.steerBitmap(1, 1, 24, new int[] {0});
        int[] dimensions = {-1, -1, 77, -78};
        Velmora.CreateHBITMAPfromRecordBinaryField(dimensions, 1, 1);
        assertArrayEquals(new int[] {1, 1, 77, -78}, dimensions);
    }

    @Test
    void everyCallGivesANewArrayAndLeavesEarlierOnesAlone() {
        Standin.steerBitmap(2, 1, 32, new int[] {0x010101, 0x020202});
        int[] first = Velmora.CreateHBITMAPfromRecordBinaryField(new int[2], 1, 1);
        Standin.steerBitmap(1, 2, 32, new int[] {0x030303, 0x040404});
        int[] dimensions = new int[2];
        int[] second = Velmora.CreateHBITMAPfromRecordBinaryField(dimensions, 1, 1);
        assertNotSame(first, second);
        assertArrayEquals(new int[] {0x010101, 0x020202}, rgb(first));
        assertArrayEquals(new int[] {0x030303, 0x040404}, rgb(second));
        assertArrayEquals(new int[] {1, 2}, dimensions);
    }

    @Test
    void noBitmapGivesNullAndLeavesTheDimensionsAlone() {
        Standin.steerBitmap(0, 0, 24, null);
        int[] dimensions = {5, 6};
        assertNull(Velmora.CreateHBITMAPfromRecordBinaryField(dimensions, 3, 4));
        assertArrayEquals(new int[] {5, 6}, dimensions);
        assertEquals(List.of("CreateHBITMAPfromRecordBinaryField(3, 4)"), Standin.calls());
    }

    @Test
    void a2048By2048Image() {
        int side = 2048;
        int[] image = new int[side * side];
        for (int y = 0; y < side; y++)
            for (int x = 0; x < side; x++) image[y * side + x] = (x * 0x0107 + y * 0x1301 + (x ^ y) * 0x010000) & RGB;
        Standin.steerBitmap(side, side, 24, image);
        int[] dimensions = new int[2];
        int[] pixels = Velmora.CreateHBITMAPfromRecordBinaryField(dimensions, 1, 1);
        assertArrayEquals(new int[] {side, side}, dimensions);
        assertArrayEquals(image, rgb(pixels));
    }

    /** The stand-in makes the bitmap of an inserted RAW field itself: 24-bit rows, stored bottom-up. */
    @Test
    void anInsertedRawImageReadsBack() {
        byte[] raw = {
            (byte) 0xFF, 0, 0, 0, (byte) 0xFF, 0, // red, green
            0, 0, (byte) 0xFF, 1, 2, 3, // blue, dark
        };
        assertEquals(0, Velmora.InsertRecordBinaryFieldFromMemory(4, 1, raw, raw.length, "RAW", 2, 2, 24));
        int[] dimensions = new int[2];
        int[] pixels = Velmora.CreateHBITMAPfromRecordBinaryField(dimensions, 4, 1);
        assertArrayEquals(new int[] {2, 2}, dimensions);
        assertArrayEquals(new int[] {0xFF0000, 0x00FF00, 0x0000FF, 0x010203}, rgb(pixels));
    }
}
