//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
//  Automatic generated C-code by the application:
//     Orvane Editor v1.0r0
//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
// Methodology: Hierarchical Switch-case state. [v1.2r3]
//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
// Exported function: void Top(void);
//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++

//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
// Initialization proposed by the user (Start).
// - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -
  #include "top.h"

// [Child:  Kid]
  
  
  // [Child:  Leaf]
    

// [Child:  Near]
  

// - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -
// Initialization proposed by the user (End).
//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++

//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
// Entry flags (Start).
// - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -
  static unsigned char entryFsmFlg = 0;
  static unsigned char entryFsmFlg_1 = 0;
// - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -
// Entry flags (End).
//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++

//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
// Automatic initialization (Start).
// - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -
 // States index.
  #define  i_A  0
  #define  i_B  1

 // Index variable.
static unsigned char ind_Top = i_A;

#if defined(FSM_DEBUG)
    static unsigned char debug_transNumber = 0;
    static const char* debug_stateNames[] = {
        "A",
        "B",
    };
#endif


// Macros & functions.
// Force the FSM to the initial state.
#if defined(FSM_DEBUG)
    #define Top_Init() { ind_Top = i_A; entryFsmFlg = 0; debug_transNumber = 0; }
#else
    #define Top_Init() { ind_Top = i_A; entryFsmFlg = 0; }
#endif

// This is not a history FSM.
#define _Top_Init()  {Top_Init(); /* Children: */ _Kid_Init(); _Leaf_Init(); _Near_Init();}

// Confirm that the FSM has reached the state:[B].
#define Top_IsIn_B() (ind_Top == i_B)


// [Child:  Kid]
   // States index.
    #define  i_1_K1  0
    #define  i_1_K2  1
  
   // Index variable.
  static unsigned char ind_1_Kid = i_1_K1;
  
  #if defined(FSM_DEBUG)
      static unsigned char debug_transNumber_1 = 0;
      static const char* debug_stateNames_1[] = {
          "K1",
          "K2",
      };
  #endif
  
  
  // Macros & functions.
  // Force the FSM to the initial state.
  #if defined(FSM_DEBUG)
      #define Kid_Init() { ind_1_Kid = i_1_K1; entryFsmFlg_1 = 0; debug_transNumber_1 = 0; }
  #else
      #define Kid_Init() { ind_1_Kid = i_1_K1; entryFsmFlg_1 = 0; }
  #endif
  
  // This is not a history FSM.
  #define _Kid_Init()  {Kid_Init(); /* Children: */ _Leaf_Init();}
  
  // Confirm that the FSM has reached a final state.
  #define Kid_End() (\
      (ind_1_Kid == i_1_K2))
  
  
   // Definition of Exit_functions.
    static void K2_1_OnExit(void);
  
  
  // [Child:  Leaf]
     // States index.
      #define  i_1_1_L  0
    
     // Index variable.
    static unsigned char ind_1_1_Leaf = i_1_1_L;
    
    #if defined(FSM_DEBUG)
        static unsigned char debug_transNumber_1_1 = 0;
        static const char* debug_stateNames_1_1[] = {
            "L",
        };
    #endif
    
    
    // Macros & functions.
    // Force the FSM to the initial state.
    #if defined(FSM_DEBUG)
        #define Leaf_Init() { ind_1_1_Leaf = i_1_1_L; debug_transNumber_1_1 = 0; }
    #else
        #define Leaf_Init() { ind_1_1_Leaf = i_1_1_L; }
    #endif
    
    // This is not a history FSM.
    #define _Leaf_Init()  {Leaf_Init(); /* Children: */ }
    

// [Child:  Near]
   // States index.
    #define  i_3_N1  0
    #define  i_3_N2  1
  
   // Index variable.
  static unsigned char ind_3_Near = i_3_N1;
  
  #if defined(FSM_DEBUG)
      static unsigned char debug_transNumber_3 = 0;
      static const char* debug_stateNames_3[] = {
          "N1",
          "N2",
      };
  #endif
  
  
  // Macros & functions.
  // Force the FSM to the initial state.
  #if defined(FSM_DEBUG)
      #define Near_Init() { ind_3_Near = i_3_N1; debug_transNumber_3 = 0; }
  #else
      #define Near_Init() { ind_3_Near = i_3_N1; }
  #endif
  
  // This is a history FSM.
  #define _Near_Init()  {}
  
// - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -
// Automatic initialization (End).
//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++

//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
// Local child functions  (Start).
// - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -
  static void Kid(void);
  static void Leaf(void);
  static void Near(void);
// - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -
// Local child functions  (End).
//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++

//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
// Debug customized macros.
//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
#if defined(FSM_DEBUG)
    #define FSM_STATE_NAME()   debug_stateNames[ind_Top]
    #define FSM_TRANS_NUMBER() debug_transNumber
    #define FSM_NAME()         "Top"
#else
    #define FSM_STATE_NAME()
    #define FSM_TRANS_NUMBER()
    #define FSM_NAME()
#endif
#undef Is_Next_State_Illegal
#define Is_Next_State_Illegal() (ind_Top > i_B)

//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
// FSM dispatcher function to be called by the O.S.
//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
void Top(void)
{
    // User actions to be executed before analyse the state.
    tick();

    #if defined(FSM_DEBUG)
        debug_transNumber = 0;
    #endif
    // Next state analyser.
    switch(ind_Top){
        case i_A:
            // State actions (Moore).
            Kid();
            // Next state selection.
            if(go){
                // Child Initialization.
                _Kid_Init();
                // Pointing to the next state.
                ind_Top = i_B;
                #if defined(FSM_DEBUG)
                    debug_transNumber = 1;
                #endif
            }
        break;
        case i_B:
            // Entry check
            if(entryFsmFlg == 0){
                entryFsmFlg = 1;
                // Entry actions
                enter_b();
            }
            // State actions (Moore).
            Leaf();
            Near();
            // Next state selection.
            if(back){
                // Child Initialization.
                _Leaf_Init();
                _Near_Init();
                // Pointing to the next state.
                ind_Top = i_A;
                #if defined(FSM_DEBUG)
                    debug_transNumber = 1;
                #endif
                // Reset entry flag
                entryFsmFlg = 0;
            }
        break;
        default:
            // State index error trap (MISRA requiremment).
            Top_Init();
        break;
    }

    // User actions to be executed after analyse the state.
    if(Is_Next_State_Illegal()) Top_Init();
}


// [Child:  Kid]
  
  //++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
  // Debug customized macros.
  //++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
  #if defined(FSM_DEBUG)
      #undef  FSM_STATE_NAME
      #undef  FSM_TRANS_NUMBER
      #undef  FSM_NAME
      #define FSM_STATE_NAME()   debug_stateNames_1[ind_1_Kid]
      #define FSM_TRANS_NUMBER() debug_transNumber_1
      #define FSM_NAME()         "Kid"
  #endif
  
  //++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
  // FSM dispatcher function to be called by the O.S.
  //++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
  static void Kid(void)
  {
      #if defined(FSM_DEBUG)
          debug_transNumber_1 = 0;
      #endif
      // Next state analyser.
      switch(ind_1_Kid){
          case i_1_K1:
              // State actions (Moore).
              Leaf();
              // Next state selection.
              if(x){
                  // Child Initialization.
                  _Leaf_Init();
                  // Pointing to the next state.
                  ind_1_Kid = i_1_K2;
                  #if defined(FSM_DEBUG)
                      debug_transNumber_1 = 1;
                  #endif
              }
          break;
          case i_1_K2:
              // Entry check
              if(entryFsmFlg_1 == 0){
                  entryFsmFlg_1 = 1;
                  // Entry actions
                  k_in();
              }
              // Next state selection.
              if(y){	// [1].
                  // Exit actions.
                  K2_1_OnExit();
                  // Pointing to the next state.
                  ind_1_Kid = i_1_K1;
                  #if defined(FSM_DEBUG)
                      debug_transNumber_1 = 1;
                  #endif
                  // Reset entry flag
                  entryFsmFlg_1 = 0;
              }else if(z){	// [2].
                  // Exit actions.
                  K2_1_OnExit();
                  // Transition actions (Meally).
                  zz();
                  // Pointing to the next state.
                  ind_1_Kid = i_1_K1;
                  #if defined(FSM_DEBUG)
                      debug_transNumber_1 = 2;
                  #endif
                  // Reset entry flag
                  entryFsmFlg_1 = 0;
              }
          break;
      }
  }
  
  
   // Implementation of Exit_functions.
  static void K2_1_OnExit(void)
  {
      k_out();
      k_a();
      k_b();
  }
  
  
  // [Child:  Leaf]
    
    //++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
    // Debug customized macros.
    //++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
    #if defined(FSM_DEBUG)
        #undef  FSM_STATE_NAME
        #undef  FSM_TRANS_NUMBER
        #undef  FSM_NAME
        #define FSM_STATE_NAME()   debug_stateNames_1_1[ind_1_1_Leaf]
        #define FSM_TRANS_NUMBER() debug_transNumber_1_1
        #define FSM_NAME()         "Leaf"
    #endif
    
    //++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
    // FSM dispatcher function to be called by the O.S.
    //++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
    static void Leaf(void)
    {
        #if defined(FSM_DEBUG)
            debug_transNumber_1_1 = 0;
        #endif
        // Next state analyser.
        switch(ind_1_1_Leaf){
            case i_1_1_L:
                // State actions (Moore).
                blink();
            break;
        }
    }
    

// [Child:  Near]
  
  //++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
  // Debug customized macros.
  //++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
  #if defined(FSM_DEBUG)
      #undef  FSM_STATE_NAME
      #undef  FSM_TRANS_NUMBER
      #undef  FSM_NAME
      #define FSM_STATE_NAME()   debug_stateNames_3[ind_3_Near]
      #define FSM_TRANS_NUMBER() debug_transNumber_3
      #define FSM_NAME()         "Near"
  #endif
  
  //++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
  // FSM dispatcher function to be called by the O.S.
  //++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
  static void Near(void)
  {
      #if defined(FSM_DEBUG)
          debug_transNumber_3 = 0;
      #endif
      // Next state analyser.
      switch(ind_3_Near){
          case i_3_N1:
              // Next state selection.
              if(n){
                  // Pointing to the next state.
                  ind_3_Near = i_3_N2;
                  #if defined(FSM_DEBUG)
                      debug_transNumber_3 = 1;
                  #endif
              }
          break;
          case i_3_N2:
          break;
      }
  }
  

//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
// Ending code proposed by the user (Start).
// - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -

// [Child:  Kid]
  /* kid end */

// - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -
// Ending code proposed by the user (End).
//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
//  End of the automatic generated C-code.
//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
